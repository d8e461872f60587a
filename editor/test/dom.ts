// A browser-like global environment for the editor, good enough for ProseMirror without layout.
import { JSDOM } from "jsdom";

const dom = new JSDOM("<!doctype html><html lang=\"en\"><body><main id=\"editor\"></main></body></html>", {
  pretendToBeVisual: true,
  url: "app://local/index.html",
});
const win = dom.window as unknown as Window & typeof globalThis;

const zeroRect = { x: 0, y: 0, left: 0, top: 0, right: 0, bottom: 0, width: 0, height: 0, toJSON: () => ({}) };
const rects = () => Object.assign([zeroRect], { item: () => zeroRect }) as unknown as DOMRectList;
win.Range.prototype.getBoundingClientRect = () => zeroRect as DOMRect;
win.Range.prototype.getClientRects = rects;
win.Element.prototype.getClientRects = rects;
win.document.elementFromPoint = () => null;

for (const key of [
  "window", "document", "navigator", "Node", "Element", "HTMLElement", "HTMLAnchorElement", "Text", "Range",
  "MutationObserver", "getSelection", "DOMParser", "Event", "KeyboardEvent", "MouseEvent", "FileReader",
  "ClipboardEvent", "DragEvent", "CompositionEvent", "requestAnimationFrame", "cancelAnimationFrame", "getComputedStyle",
]) {
  const value = (win as unknown as Record<string, unknown>)[key];
  if (value === undefined) continue;
  Object.defineProperty(globalThis, key, {
    value: typeof value === "function" && /^[a-z]/.test(key) ? (value as (...a: unknown[]) => unknown).bind(win) : value,
    configurable: true,
    writable: true,
  });
}

export const testWindow = win;
