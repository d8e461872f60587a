import type { EditorView } from "prosemirror-view";

export interface Rect {
  x: number;
  y: number;
  width: number;
  height: number;
}

function round(rect: Rect): Rect {
  return {
    x: Math.round(rect.x),
    y: Math.round(rect.y),
    width: Math.round(rect.width),
    height: Math.round(rect.height),
  };
}

// Page coordinates of the caret at `pos` (a zero-width rectangle as tall as the line).
export function caretRect(view: EditorView, pos: number): Rect | null {
  try {
    const c = view.coordsAtPos(pos);
    return round({ x: c.left, y: c.top, width: Math.max(0, c.right - c.left), height: c.bottom - c.top });
  } catch {
    return null;
  }
}

// The rectangle around the text between `from` and `to`.
export function rangeRect(view: EditorView, from: number, to: number): Rect | null {
  try {
    const a = view.coordsAtPos(from, 1);
    const b = view.coordsAtPos(to, -1);
    const left = Math.min(a.left, b.left);
    const top = Math.min(a.top, b.top);
    const right = a.top === b.top ? Math.max(a.right, b.right) : Math.max(view.dom.getBoundingClientRect().right, a.right);
    const bottom = Math.max(a.bottom, b.bottom);
    const x = a.top === b.top ? left : Math.min(left, view.dom.getBoundingClientRect().left);
    return round({ x, y: top, width: right - x, height: bottom - top });
  } catch {
    return null;
  }
}

export function elementRect(element: Element): Rect {
  const r = element.getBoundingClientRect();
  return round({ x: r.left, y: r.top, width: r.width, height: r.height });
}
