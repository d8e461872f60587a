import type { Mark, MarkType, Node } from "prosemirror-model";
import { type Command, type EditorState, Plugin, PluginKey, type Transaction } from "prosemirror-state";
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
  plugin: Plugin<LinkState>;
  // Reports the range to link to the app: the selection, else the link whose card the app shows, else
  // the link at the caret, else the caret.
  edit: Command;
  set(view: EditorView, href: string): void;
  remove(view: EditorView): void;
  cancel(view: EditorView): void;
}

interface LinkState {
  target: Range | null; // the range reported by "edit", until the app answers
  card: number | null; // a position inside the link whose hover card the app was told to show
}

type LinkMeta = Partial<LinkState>;

// The page's half of the app's link card and link editor: hover reports, the ranges the app's buttons
// act on (mapped through any edits until the app answers), and opening links through the app.
export function linkEditing(post: Post): LinkEditing {
  const key = new PluginKey<LinkState>("links");
  let hovered: { element: HTMLElement; pos: number } | null = null;
  let hoverTimer: ReturnType<typeof setTimeout> | undefined;

  const linkFor = (state: EditorState): (Range & { mark: Mark }) | null => {
    const { card } = key.getState(state)!;
    return (card !== null ? markExtent(state.doc, card, linkType) : null) ?? markExtent(state.doc, state.selection.from, linkType);
  };

  const target = (state: EditorState): Range | null => {
    const { target: pending } = key.getState(state)!;
    if (pending) return pending;
    if (!state.selection.empty) return { from: state.selection.from, to: state.selection.to };
    return linkFor(state);
  };

  const finish = (view: EditorView, change?: (tr: Transaction) => void) => {
    const tr = view.state.tr.setMeta(key, { target: null, card: null } satisfies LinkMeta);
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

  // Working in the editor again means the hover card is no longer what the user acts on.
  const forgetCard = (view: EditorView) => {
    if (key.getState(view.state)?.card !== null) view.dispatch(view.state.tr.setMeta(key, { card: null } satisfies LinkMeta));
    return false;
  };

  const plugin = new Plugin<LinkState>({
    key,
    state: {
      init: () => ({ target: null, card: null }),
      apply(tr, value) {
        const meta = (tr.getMeta(key) ?? {}) as LinkMeta;
        const target = meta.target !== undefined ? meta.target : value.target;
        const card = meta.card !== undefined ? meta.card : value.card;
        if (!tr.docChanged) return { target, card };
        return {
          target: target && { from: tr.mapping.map(target.from, 1), to: tr.mapping.map(target.to, -1) },
          card: card === null ? null : tr.mapping.map(card, 1),
        };
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
            view.dispatch(view.state.tr.setMeta(key, { card: link.pos } satisfies LinkMeta));
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
          forgetCard(view);
          const anchor = anchorAt(view, event.target);
          if (!anchor || !(event.ctrlKey || event.metaKey || event.button === 1)) return false;
          event.preventDefault();
          const link = linkOf(view, anchor);
          if (link?.href && !unsafeHref(link.href)) post({ type: "openLink", href: link.href });
          return true;
        },
        keydown: forgetCard,
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
      const found = linkFor(state);
      range = found ?? { from: selection.from, to: selection.from };
      href = found?.mark.attrs.href ?? "";
    }
    dispatch(state.tr.setMeta(key, { target: range } satisfies LinkMeta));
    post({ type: "link", mode: "edit", href, rect: rangeRect(view, range.from, range.to), pos: range.from });
    return true;
  };

  return {
    plugin,
    edit,
    set(view, href) {
      if (unsafeHref(href)) return finish(view);
      const range = target(view.state);
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
      const range = target(view.state);
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
