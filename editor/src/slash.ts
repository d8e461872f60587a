import { type EditorState, Plugin, PluginKey, type Transaction } from "prosemirror-state";
import type { EditorView } from "prosemirror-view";
import type { Post } from "./bridge";
import { caretRect, type Rect } from "./geometry";

export interface SlashState {
  from: number; // position of the "/"
  query: string;
  // Return was forwarded and the app's command is on its way: the query stays as it was then, and what
  // the user types meanwhile is ordinary text after it, so no keystroke is lost to the command.
  chosen?: boolean;
}

export const slashKey = new PluginKey<SlashState | null>("slash");

const maxQuery = 40;

function follow(state: SlashState, tr: Transaction, next: EditorState): SlashState | null {
  const from = tr.mapping.map(state.from);
  if (state.chosen) return followChosen(state, from, next);
  const { selection, doc } = next;
  if (!selection.empty || from >= doc.content.size) return null;
  const head = selection.head;
  const $from = doc.resolve(from);
  if (head <= from || head > $from.end() || doc.textBetween(from, from + 1) !== "/") return null;
  const query = doc.textBetween(from + 1, head, "\n", "\n");
  if (/\s/.test(query) || query.length > maxQuery) return null;
  return { from, query };
}

function followChosen(state: SlashState, from: number, next: EditorState): SlashState | null {
  const { doc, selection } = next;
  const end = from + 1 + state.query.length;
  if (end > doc.content.size || doc.textBetween(from, end, "\n", "\n") !== "/" + state.query) return null;
  // The command acts on the caret's block, so the caret leaving the query's block ends the wait.
  if (!doc.resolve(from).sameParent(selection.$head)) return null;
  return { ...state, from };
}

export function slashPlugin(post: Post): Plugin<SlashState | null> {
  return new Plugin<SlashState | null>({
    key: slashKey,
    state: {
      init: () => null,
      apply(tr, value, _old, next) {
        const meta = tr.getMeta(slashKey) as { open?: number; close?: boolean; choose?: boolean } | undefined;
        if (meta?.close) return null;
        if (meta?.open !== undefined) return { from: meta.open, query: "" };
        if (meta?.choose && value) return { ...value, chosen: true };
        return value ? follow(value, tr, next) : null;
      },
    },
    props: {
      handleTextInput(view, from, to, text) {
        if (text !== "/") return false;
        const $from = view.state.doc.resolve(from);
        if ($from.parent.type.spec.code) return false;
        const before = $from.parent.textBetween(0, $from.parentOffset, "\n", "\uFFFC");
        // Only a slash that starts a word opens the menu, so paths and fractions stay plain text.
        if (before !== "" && !/\s$/.test(before)) return false;
        view.dispatch(view.state.tr.insertText("/", from, to).setMeta(slashKey, { open: from }));
        return true;
      },
      handleKeyDown(view, event) {
        const value = slashKey.getState(view.state);
        if (!value || value.chosen) return false;
        const keys: Record<string, string> = { ArrowUp: "up", ArrowDown: "down", Enter: "enter", Tab: "enter" };
        if (event.key === "Escape") {
          view.dispatch(view.state.tr.setMeta(slashKey, { close: true }));
          return true;
        }
        const key = keys[event.key];
        if (!key || event.shiftKey || event.altKey || event.ctrlKey || event.metaKey) return false;
        post({ type: "slashKey", key });
        if (key === "enter") view.dispatch(view.state.tr.setMeta(slashKey, { choose: true }));
        return true;
      },
      handleDOMEvents: {
        blur(view) {
          if (slashKey.getState(view.state)) view.dispatch(view.state.tr.setMeta(slashKey, { close: true }));
          return false;
        },
      },
    },
    view() {
      let shown: { query: string; rect: Rect | null } | null = null;
      return {
        update(view: EditorView) {
          const value = slashKey.getState(view.state);
          if (!value) {
            if (shown) post({ type: "slash", state: "close" });
            shown = null;
            return;
          }
          // The app closed its menu when Return was forwarded; the query no longer follows the typing.
          if (value.chosen) return;
          const rect = caretRect(view, view.state.selection.head);
          if (shown && shown.query === value.query && sameRect(shown.rect, rect)) return;
          post({ type: "slash", state: shown ? "update" : "open", rect, query: value.query });
          shown = { query: value.query, rect };
        },
        destroy() {
          if (shown) post({ type: "slash", state: "close" });
        },
      };
    },
  });
}

function sameRect(a: Rect | null, b: Rect | null): boolean {
  return JSON.stringify(a) === JSON.stringify(b);
}

// Removes the "/query" the user typed, before a slash command runs.
export function takeSlashQuery(state: EditorState, tr: Transaction): void {
  const value = slashKey.getState(state);
  if (!value) return;
  tr.delete(value.from, value.from + 1 + value.query.length);
  tr.setMeta(slashKey, { close: true });
}
