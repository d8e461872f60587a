import { history } from "prosemirror-history";
import { type Node, Slice } from "prosemirror-model";
import { type Command, EditorState, Plugin, PluginKey, NodeSelection, Selection, type Transaction } from "prosemirror-state";
import { EditorView } from "prosemirror-view";
import { applyDocument } from "./apply";
import { blockCommands, markCommands } from "./blocks";
import type { Post } from "./bridge";
import { elementRect, rangeRect, type Rect } from "./geometry";
import { editingPlugins } from "./keys";
import { markExtent, type Range } from "./links";
import { normalizeMarkdown, parseMarkdown, serializeMarkdown } from "./markdown";
import { merge3 } from "./merge";
import { applyColor } from "./palette";
import { schema } from "./schema";
import { slashKey, slashPlugin, takeSlashQuery } from "./slash";
import { text } from "./texts";
import { ListItemView } from "./todo";

export interface MergeAnswer {
  status: "applied" | "conflict" | "error";
  markdown?: string;
  reason?: string;
}

export interface Dovrin {
  getMarkdown(): string;
  setMarkdown(markdown: unknown): void;
  setColor(color: unknown): void;
  focus(): boolean;
  applyExternalMarkdown(args: unknown): MergeAnswer | Promise<MergeAnswer>;
  imageStored(id: unknown, url: unknown): void;
  runCommand(id: unknown, arg?: unknown): void;
  insertImageFile(args: unknown): void;
}

export interface EditorHandle {
  dovrin: Dovrin;
  view: EditorView;
  flush(): void;
}

// User edits are reported this long after the last keystroke, at least this often while typing goes
// on, and at once when the page loses focus.
export const changeDelay = 120;
const changeMaxWait = 1000;

// Transactions the app caused (fill, AI merge) are not the user's edits and are not reported back.
const external = "dovrinExternal";

const linkTargetKey = new PluginKey<Range | null>("linkTarget");

const markNames: Array<[string, keyof typeof schema.marks]> = [
  ["bold", "strong"],
  ["italic", "em"],
  ["strike", "strike"],
  ["code", "code"],
  ["link", "link"],
];

function activeMarks(state: EditorState): string[] {
  const { from, to } = state.selection;
  const names: string[] = [];
  for (const [name, markName] of markNames) {
    const type = schema.marks[markName];
    let all = true;
    let any = false;
    state.doc.nodesBetween(from, to, (node) => {
      if (!node.isText) return true;
      any = true;
      if (!type.isInSet(node.marks)) all = false;
      return false;
    });
    if (any && all) names.push(name);
  }
  return names;
}

// Script URLs are kept as text in the Markdown but never become a link the user can follow.
function unsafeHref(href: string): boolean {
  return /^\s*(javascript|vbscript|data):/i.test(href);
}

function base64ToDataUrl(mime: string, data: string): string {
  return `data:${mime};base64,${data}`;
}

function readFile(file: File): Promise<{ mime: string; data: string }> {
  return new Promise((resolve, reject) => {
    const reader = new FileReader();
    reader.onload = () => {
      const url = String(reader.result);
      resolve({ mime: file.type, data: url.slice(url.indexOf(",") + 1) });
    };
    reader.onerror = () => reject(reader.error);
    reader.readAsDataURL(file);
  });
}

export function createEditor(mount: HTMLElement, post: Post): EditorHandle {
  let lastMarkdown = "";
  let changeTimer: ReturnType<typeof setTimeout> | undefined;
  let nextImageId = 1;
  // Images whose placeholder went away (an AI merge replaced its block) are still kept when stored.
  const orphanImages = new Set<number>();
  let hoveredLink: { element: HTMLElement; pos: number } | null = null;
  let hoverTimer: ReturnType<typeof setTimeout> | undefined;
  let shownSelection: string | null = null;

  let pendingSince = 0;

  const flush = () => {
    if (changeTimer !== undefined) clearTimeout(changeTimer);
    changeTimer = undefined;
    pendingSince = 0;
    const markdown = serializeMarkdown(view.state.doc);
    if (markdown === lastMarkdown) return;
    lastMarkdown = markdown;
    post({ type: "changed", markdown });
  };

  const scheduleChanged = () => {
    if (changeTimer !== undefined) clearTimeout(changeTimer);
    const now = Date.now();
    if (!pendingSince) pendingSince = now;
    changeTimer = setTimeout(flush, Math.max(0, Math.min(changeDelay, pendingSince + changeMaxWait - now)));
  };

  const linkTarget = new Plugin<Range | null>({
    key: linkTargetKey,
    state: {
      init: () => null,
      apply(tr, value) {
        const meta = tr.getMeta(linkTargetKey) as Range | null | undefined;
        if (meta !== undefined) return meta;
        if (!value) return null;
        return { from: tr.mapping.map(value.from, 1), to: tr.mapping.map(value.to, -1) };
      },
    },
  });

  const selectionReporter = new Plugin({
    view: () => ({
      update(view) {
        const { selection } = view.state;
        const hasText = !selection.empty && !(selection instanceof NodeSelection) && !selection.$from.parent.type.spec.code;
        if (!hasText) {
          if (shownSelection !== null) post({ type: "selection", rect: null, marks: [] });
          shownSelection = null;
          return;
        }
        const rect = rangeRect(view, selection.from, selection.to);
        const marks = activeMarks(view.state);
        const key = JSON.stringify([rect, marks]);
        if (key === shownSelection) return;
        shownSelection = key;
        post({ type: "selection", rect, marks });
      },
    }),
  });

  const placeholder = new Plugin({
    props: {
      attributes: (state) => {
        const doc = state.doc;
        const empty = doc.childCount === 1 && doc.firstChild!.type === schema.nodes.paragraph && doc.firstChild!.content.size === 0;
        const attributes: Record<string, string> = empty ? { class: "empty", "data-placeholder": text("placeholder") } : {};
        return attributes;
      },
    },
  });

  const editLink: Command = (state, dispatch) => {
    if (!dispatch) return true;
    const { selection } = state;
    const type = schema.marks.link;
    let range: Range;
    let href = "";
    if (!selection.empty) {
      range = { from: selection.from, to: selection.to };
      const found = markExtent(state.doc, selection.from, type);
      if (found && found.from <= selection.from && found.to >= selection.to) href = found.mark.attrs.href;
      else state.doc.nodesBetween(range.from, range.to, (node) => {
        const mark = type.isInSet(node.marks);
        if (mark && !href) href = mark.attrs.href;
      });
    } else {
      const found = markExtent(state.doc, selection.from, type) ?? (hoveredLink ? markExtent(state.doc, hoveredLink.pos, type) : null);
      range = found ?? { from: selection.from, to: selection.from };
      href = found?.mark.attrs.href ?? "";
    }
    dispatch(state.tr.setMeta(linkTargetKey, range));
    const rect: Rect | null = rangeRect(view, range.from, range.to);
    post({ type: "link", mode: "edit", href, rect, pos: range.from });
    return true;
  };

  const linkRange = (): Range | null => {
    const state = view.state;
    const pending = linkTargetKey.getState(state);
    if (pending) return pending;
    if (!state.selection.empty) return { from: state.selection.from, to: state.selection.to };
    return markExtent(state.doc, state.selection.from, schema.marks.link) ?? (hoveredLink ? markExtent(state.doc, hoveredLink.pos, schema.marks.link) : null);
  };

  const setLink = (href: string) => {
    if (unsafeHref(href)) {
      view.dispatch(view.state.tr.setMeta(linkTargetKey, null));
      view.focus();
      return;
    }
    const range = linkRange();
    const tr = view.state.tr.setMeta(linkTargetKey, null);
    const type = schema.marks.link;
    if (!href) {
      if (range) tr.removeMark(range.from, range.to, type);
    } else if (range && range.from < range.to) {
      tr.removeMark(range.from, range.to, type).addMark(range.from, range.to, type.create({ href }));
    } else {
      const at = range?.from ?? view.state.selection.from;
      tr.insert(at, schema.text(href, [type.create({ href })]));
    }
    view.dispatch(tr);
    view.focus();
  };

  const removeLink = () => {
    const range = linkRange();
    const tr = view.state.tr.setMeta(linkTargetKey, null);
    if (range) {
      const found = range.from === range.to ? markExtent(view.state.doc, range.from, schema.marks.link) : range;
      if (found) tr.removeMark(found.from, found.to, schema.marks.link);
    }
    view.dispatch(tr);
    view.focus();
  };

  const findImages = (id: number): Array<{ node: Node; pos: number }> => {
    const found: Array<{ node: Node; pos: number }> = [];
    view.state.doc.descendants((node, pos) => {
      if (node.type === schema.nodes.image && node.attrs.pending === id) found.push({ node, pos });
    });
    return found;
  };

  const insertImage = (mime: string, data: string, at?: number) => {
    const id = nextImageId++;
    const node = schema.nodes.image.create({ src: base64ToDataUrl(mime, data), alt: "", pending: id });
    const tr = view.state.tr;
    takeSlashQuery(view.state, tr);
    if (at === undefined) tr.replaceSelectionWith(node);
    else tr.insert(at, node);
    view.dispatch(tr.scrollIntoView());
    post({ type: "image", id, mime, data });
  };

  const imageFiles = (files: FileList | null | undefined): File[] =>
    Array.from(files ?? []).filter((file) => file.type.startsWith("image/"));

  const insertFiles = (files: File[], at?: number) => {
    for (const file of files) {
      readFile(file)
        .then(({ mime, data }) => insertImage(mime, data, at))
        .catch(() => undefined);
    }
  };

  const linkAt = (target: EventTarget | null): HTMLAnchorElement | null => {
    const element = target instanceof Element ? target.closest("a[href]") : null;
    return element && view.dom.contains(element) ? (element as HTMLAnchorElement) : null;
  };

  const linkHref = (anchor: HTMLAnchorElement): { href: string; pos: number } | null => {
    try {
      const pos = view.posAtDOM(anchor, 0);
      const found = markExtent(view.state.doc, pos, schema.marks.link);
      return found ? { href: found.mark.attrs.href, pos: found.from } : { href: anchor.getAttribute("href") ?? "", pos };
    } catch {
      return null;
    }
  };

  const leaveLink = () => {
    if (hoverTimer !== undefined) clearTimeout(hoverTimer);
    hoverTimer = undefined;
    if (hoveredLink) post({ type: "link", mode: "leave", href: "", rect: null, pos: hoveredLink.pos });
    hoveredLink = null;
  };

  const plugins = [
    slashPlugin(post),
    ...editingPlugins(editLink),
    history(),
    linkTarget,
    selectionReporter,
    placeholder,
  ];

  const makeState = (doc: Node) => EditorState.create({ doc, plugins, selection: Selection.atEnd(doc) });

  const view: EditorView = new EditorView(mount, {
    state: makeState(parseMarkdown("")),
    nodeViews: {
      list_item: (node, editorView, getPos) => new ListItemView(node, editorView, getPos),
    },
    dispatchTransaction(tr: Transaction) {
      view.updateState(view.state.apply(tr));
      if (tr.docChanged && !tr.getMeta(external)) scheduleChanged();
    },
    // Plain text on the clipboard is Markdown both ways, so notes copy into AI chats and back intact.
    clipboardTextSerializer(slice) {
      const doc = schema.nodes.doc.createAndFill(null, slice.content);
      return doc ? serializeMarkdown(doc) : slice.content.textBetween(0, slice.content.size, "\n\n");
    },
    clipboardTextParser(textValue, $context, plain) {
      if (plain || $context.parent.type.spec.code) {
        return new Slice(schema.nodes.doc.create(null, schema.nodes.paragraph.create(null, textValue ? schema.text(textValue) : null)).content, 1, 1);
      }
      const doc = parseMarkdown(textValue);
      return Slice.maxOpen(doc.content);
    },
    handlePaste(_view, event) {
      const files = imageFiles(event.clipboardData?.files);
      if (!files.length) return false;
      insertFiles(files);
      return true;
    },
    handleDrop(editorView, event) {
      const files = imageFiles((event as DragEvent).dataTransfer?.files);
      if (!files.length) return false;
      const at = editorView.posAtCoords({ left: (event as DragEvent).clientX, top: (event as DragEvent).clientY });
      insertFiles(files, at?.pos);
      return true;
    },
    handleDOMEvents: {
      mouseover(_view, event) {
        const anchor = linkAt(event.target);
        if (!anchor) return false;
        if (hoveredLink?.element === anchor) return false;
        leaveLink();
        const info = linkHref(anchor);
        if (!info) return false;
        hoveredLink = { element: anchor, pos: info.pos };
        hoverTimer = setTimeout(() => {
          hoverTimer = undefined;
          post({ type: "link", mode: "hover", href: info.href, rect: elementRect(anchor), pos: info.pos });
        }, 250);
        return false;
      },
      mouseout(_view, event) {
        const anchor = linkAt(event.target);
        if (!anchor || anchor.contains(event.relatedTarget as globalThis.Node | null)) return false;
        leaveLink();
        return false;
      },
      mousedown(_view, event) {
        const anchor = linkAt(event.target);
        if (!anchor || !(event.ctrlKey || event.metaKey || event.button === 1)) return false;
        event.preventDefault();
        const info = linkHref(anchor);
        if (info?.href && !unsafeHref(info.href)) post({ type: "openLink", href: info.href });
        return true;
      },
      // Links inside the note are never followed by the page itself; the app opens them.
      click(_view, event) {
        if (linkAt(event.target)) event.preventDefault();
        return false;
      },
      auxclick(_view, event) {
        if (linkAt(event.target)) event.preventDefault();
        return false;
      },
      blur() {
        flush();
        if (shownSelection !== null) post({ type: "selection", rect: null, marks: [] });
        shownSelection = null;
        return false;
      },
    },
  });

  function mergeExternal(args: unknown): MergeAnswer {
    try {
      const { markdown, base } = (args ?? {}) as { markdown?: unknown; base?: unknown };
      if (typeof markdown !== "string") return { status: "error", reason: "markdown must be a string" };
      if (typeof base !== "string") return { status: "error", reason: "base must be a string" };
      // The user's own typing is reported first, so that it is saved as theirs and not as the AI's.
      flush();
      const ours = serializeMarkdown(view.state.doc);
      // Each side is compared in the editor's own form; texts already in that form are not parsed again.
      const theirsDoc = parseMarkdown(markdown);
      const theirs = serializeMarkdown(theirsDoc);
      const result = merge3(base === ours ? ours : normalizeMarkdown(base), ours, theirs);
      if (!result.ok) return { status: "conflict", reason: result.reason };
      const before = new Set<number>();
      view.state.doc.descendants((node) => {
        if (node.type === schema.nodes.image && node.attrs.pending !== null) before.add(node.attrs.pending);
      });
      const tr = applyDocument(view.state, result.text === theirs ? theirsDoc : parseMarkdown(result.text));
      tr.setMeta(external, true).setMeta("addToHistory", false);
      view.dispatch(tr);
      for (const id of before) if (!findImages(id).length) orphanImages.add(id);
      lastMarkdown = serializeMarkdown(view.state.doc);
      return { status: "applied", markdown: lastMarkdown };
    } catch (error) {
      return { status: "error", reason: `editor error: ${error instanceof Error ? error.message : String(error)}` };
    }
  }

  function afterComposition(): Promise<void> {
    return new Promise((resolve) => {
      const done = () => {
        clearTimeout(timer);
        view.dom.removeEventListener("compositionend", done);
        setTimeout(resolve, 20);
      };
      const timer = setTimeout(done, 2000);
      view.dom.addEventListener("compositionend", done);
    });
  }

  const dovrin: Dovrin = {
    getMarkdown: () => serializeMarkdown(view.state.doc),

    setMarkdown(markdown) {
      if (typeof markdown !== "string") return;
      flush();
      view.updateState(makeState(parseMarkdown(markdown)));
      lastMarkdown = serializeMarkdown(view.state.doc);
    },

    setColor(color) {
      applyColor(document.documentElement, color);
    },

    focus() {
      view.focus();
      return view.hasFocus();
    },

    applyExternalMarkdown(args) {
      // Changing the document under an input method's composition would break what the user is typing;
      // the app awaits the answer, so the merge waits for the composition to end (at most 2 s).
      if (view.composing) return afterComposition().then(() => mergeExternal(args));
      return mergeExternal(args);
    },

    imageStored(id: unknown, url: unknown) {
      if (typeof id !== "number") return;
      const found = findImages(id);
      const tr = view.state.tr;
      if (!found.length) {
        if (orphanImages.delete(id) && typeof url === "string" && url) {
          const image = schema.nodes.image.create({ src: url, alt: "" });
          tr.insert(tr.doc.content.size, schema.nodes.paragraph.create(null, image));
          view.dispatch(tr);
        }
        return;
      }
      for (const { node, pos } of found.reverse()) {
        if (typeof url === "string" && url) tr.setNodeMarkup(pos, undefined, { ...node.attrs, src: url, pending: null });
        else tr.delete(pos, pos + node.nodeSize);
      }
      view.dispatch(tr);
    },

    runCommand(id, arg) {
      if (typeof id !== "string") return;
      if (id === "slash:close") {
        view.dispatch(view.state.tr.setMeta(slashKey, { close: true }));
        return;
      }
      const block = blockCommands[id];
      if (block) {
        const tr = view.state.tr;
        takeSlashQuery(view.state, tr);
        view.dispatch(tr);
        block(view.state, view.dispatch);
        view.focus();
        return;
      }
      const mark = markCommands[id];
      if (mark) {
        mark(view.state, view.dispatch);
        view.focus();
        return;
      }
      if (id === "link:edit") editLink(view.state, view.dispatch);
      else if (id === "link:set") {
        const href = (arg as { href?: unknown } | null)?.href;
        setLink(typeof href === "string" ? href.trim() : "");
      } else if (id === "link:remove") removeLink();
      else if (id === "link:cancel") {
        view.dispatch(view.state.tr.setMeta(linkTargetKey, null));
        view.focus();
      }
    },

    insertImageFile(args) {
      const { mime, data } = (args ?? {}) as { mime?: unknown; data?: unknown };
      if (typeof mime !== "string" || !mime.startsWith("image/") || typeof data !== "string" || !data) return;
      insertImage(mime, data);
    },
  };

  document.addEventListener("visibilitychange", () => {
    if (document.visibilityState === "hidden") flush();
  });
  window.addEventListener("pagehide", flush);
  new MutationObserver(() => view.updateState(view.state)).observe(document.documentElement, {
    attributes: true,
    attributeFilter: ["lang"],
  });

  lastMarkdown = serializeMarkdown(view.state.doc);
  return { dovrin, view, flush };
}
