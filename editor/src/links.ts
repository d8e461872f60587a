import type { Mark, MarkType, Node } from "prosemirror-model";
import { type Command, Plugin, PluginKey } from "prosemirror-state";
import type { EditorView } from "prosemirror-view";
import type { Post } from "./bridge";
import { elementRect, rangeRect } from "./geometry";
import { schema } from "./schema";

export interface Range {
  from: number;
  to: number;
}

// The whole run of text around `pos` that carries the same mark of `type`, if any.
export function markExtent(doc: Node, pos: number, type: MarkType): (Range & { mark: Mark }) | null {
  const $pos = doc.resolve(Math.max(0, Math.min(pos, doc.content.size)));
  const parent = $pos.parent;
  if (!parent.inlineContent) return null;
  const start = $pos.start();
  const offsets: number[] = [];
  parent.forEach((_child, offset) => offsets.push(offset));
  let index = -1;
  let mark: Mark | undefined;
  // Prefer the node after the position, then the one before it (a caret at a link's end is in it).
  for (const candidate of [$pos.index(), $pos.index() - 1]) {
    if (candidate < 0 || candidate >= parent.childCount) continue;
    const found = type.isInSet(parent.child(candidate).marks);
    if (found) {
      index = candidate;
      mark = found;
      break;
    }
  }
  if (index < 0 || !mark) return null;
  let first = index;
  let last = index;
  while (first > 0 && mark.isInSet(parent.child(first - 1).marks)) first--;
  while (last + 1 < parent.childCount && mark.isInSet(parent.child(last + 1).marks)) last++;
  return {
    from: start + offsets[first],
    to: start + offsets[last] + parent.child(last).nodeSize,
    mark,
  };
}

// Script URLs are kept as text in the Markdown but never become a link the user can follow.
export function unsafeHref(href: string): boolean {
  return /^\s*(javascript|vbscript|data):/i.test(href);
}

const linkType = schema.marks.link;
const hoverDelay = 250;

export interface LinkEditing {
  plugin: Plugin<Range | null>;
  // Reports the range to link (the selection, the link at the caret or the hovered link) to the app.
  edit: Command;
  set(view: EditorView, href: string): void;
  remove(view: EditorView): void;
  cancel(view: EditorView): void;
}

// The page's half of the app's link card and link editor: hover reports, the range being edited
// (mapped through any edits until the app answers), and opening links through the app.
export function linkEditing(post: Post): LinkEditing {
  const key = new PluginKey<Range | null>("linkTarget");
  let hovered: { element: HTMLElement; pos: number } | null = null;
  let hoverTimer: ReturnType<typeof setTimeout> | undefined;

  const around = (doc: Node, pos: number) =>
    markExtent(doc, pos, linkType) ?? (hovered ? markExtent(doc, hovered.pos, linkType) : null);

  const target = (view: EditorView): Range | null => {
    const { state } = view;
    const pending = key.getState(state);
    if (pending) return pending;
    if (!state.selection.empty) return { from: state.selection.from, to: state.selection.to };
    return around(state.doc, state.selection.from);
  };

  const finish = (view: EditorView, change?: (tr: ReturnType<EditorView["state"]["tr"]["setMeta"]>) => void) => {
    const tr = view.state.tr.setMeta(key, null);
    change?.(tr);
    view.dispatch(tr);
    view.focus();
  };

  const anchorAt = (view: EditorView, eventTarget: EventTarget | null): HTMLAnchorElement | null => {
    const element = eventTarget instanceof Element ? eventTarget.closest("a[href]") : null;
    return element && view.dom.contains(element) ? (element as HTMLAnchorElement) : null;
  };

  const linkOf = (view: EditorView, anchor: HTMLAnchorElement): { href: string; pos: number } | null => {
    try {
      const pos = view.posAtDOM(anchor, 0);
      const found = markExtent(view.state.doc, pos, linkType);
      return found ? { href: found.mark.attrs.href, pos: found.from } : { href: anchor.getAttribute("href") ?? "", pos };
    } catch {
      return null;
    }
  };

  const leave = () => {
    if (hoverTimer !== undefined) clearTimeout(hoverTimer);
    hoverTimer = undefined;
    if (hovered) post({ type: "link", mode: "leave", href: "", rect: null, pos: hovered.pos });
    hovered = null;
  };

  const plugin = new Plugin<Range | null>({
    key,
    state: {
      init: () => null,
      apply(tr, value) {
        const meta = tr.getMeta(key) as Range | null | undefined;
        if (meta !== undefined) return meta;
        return value && { from: tr.mapping.map(value.from, 1), to: tr.mapping.map(value.to, -1) };
      },
    },
    props: {
      handleDOMEvents: {
        mouseover(view, event) {
          const anchor = anchorAt(view, event.target);
          if (!anchor || hovered?.element === anchor) return false;
          leave();
          const link = linkOf(view, anchor);
          if (!link) return false;
          hovered = { element: anchor, pos: link.pos };
          hoverTimer = setTimeout(() => {
            hoverTimer = undefined;
            post({ type: "link", mode: "hover", href: link.href, rect: elementRect(anchor), pos: link.pos });
          }, hoverDelay);
          return false;
        },
        mouseout(view, event) {
          const anchor = anchorAt(view, event.target);
          if (anchor && !anchor.contains(event.relatedTarget as globalThis.Node | null)) leave();
          return false;
        },
        mousedown(view, event) {
          const anchor = anchorAt(view, event.target);
          if (!anchor || !(event.ctrlKey || event.metaKey || event.button === 1)) return false;
          event.preventDefault();
          const link = linkOf(view, anchor);
          if (link?.href && !unsafeHref(link.href)) post({ type: "openLink", href: link.href });
          return true;
        },
        // Links inside the note are never followed by the page itself; the app opens them.
        click(view, event) {
          if (anchorAt(view, event.target)) event.preventDefault();
          return false;
        },
        auxclick(view, event) {
          if (anchorAt(view, event.target)) event.preventDefault();
          return false;
        },
      },
    },
  });

  const edit: Command = (state, dispatch, view) => {
    if (!dispatch || !view) return true;
    const { selection } = state;
    let range: Range;
    let href = "";
    if (!selection.empty) {
      range = { from: selection.from, to: selection.to };
      state.doc.nodesBetween(range.from, range.to, (node) => {
        href ||= linkType.isInSet(node.marks)?.attrs.href ?? "";
      });
    } else {
      const found = around(state.doc, selection.from);
      range = found ?? { from: selection.from, to: selection.from };
      href = found?.mark.attrs.href ?? "";
    }
    dispatch(state.tr.setMeta(key, range));
    post({ type: "link", mode: "edit", href, rect: rangeRect(view, range.from, range.to), pos: range.from });
    return true;
  };

  return {
    plugin,
    edit,
    set(view, href) {
      if (unsafeHref(href)) return finish(view);
      const range = target(view);
      finish(view, (tr) => {
        if (!href) {
          if (range) tr.removeMark(range.from, range.to, linkType);
        } else if (range && range.from < range.to) {
          tr.removeMark(range.from, range.to, linkType).addMark(range.from, range.to, linkType.create({ href }));
        } else {
          tr.insert(range?.from ?? view.state.selection.from, schema.text(href, [linkType.create({ href })]));
        }
      });
    },
    remove(view) {
      const range = target(view);
      const found = range && range.from === range.to ? markExtent(view.state.doc, range.from, linkType) : range;
      finish(view, (tr) => {
        if (found) tr.removeMark(found.from, found.to, linkType);
      });
    },
    cancel(view) {
      finish(view);
    },
  };
}
