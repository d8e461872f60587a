import { type EditorState, NodeSelection, Plugin } from "prosemirror-state";
import type { EditorView } from "prosemirror-view";
import type { Post } from "./bridge";
import { rangeRect } from "./geometry";
import { schema } from "./schema";

// The names the app's format bar uses for the marks.
const markNames: Array<[string, keyof typeof schema.marks]> = [
  ["bold", "strong"],
  ["italic", "em"],
  ["strike", "strike"],
  ["code", "code"],
  ["link", "link"],
];

// The marks that cover every piece of text in the selection.
export function activeMarks(state: EditorState): string[] {
  const { from, to } = state.selection;
  return markNames
    .filter(([, markName]) => {
      const type = schema.marks[markName];
      let all = true;
      let any = false;
      state.doc.nodesBetween(from, to, (node) => {
        if (!node.isText) return true;
        any = true;
        if (!type.isInSet(node.marks)) all = false;
        return false;
      });
      return any && all;
    })
    .map(([name]) => name);
}

// Tells the app where selected text is, and how it is marked, so it can show its format bar. While the
// mouse is still selecting, the bar waits for the button to be released instead of following the drag.
export function selectionReport(post: Post): Plugin {
  let shown: string | null = null;
  let dragging = false;
  const hide = () => {
    if (shown !== null) post({ type: "selection", rect: null, marks: [] });
    shown = null;
  };
  const report = (view: EditorView) => {
    const { selection } = view.state;
    if (selection.empty || selection instanceof NodeSelection || selection.$from.parent.type.spec.code) {
      hide();
      return;
    }
    if (dragging) return;
    const rect = rangeRect(view, selection.from, selection.to);
    const marks = activeMarks(view.state);
    const key = JSON.stringify([rect, marks]);
    if (key === shown) return;
    shown = key;
    post({ type: "selection", rect, marks });
  };
  return new Plugin({
    view: () => ({ update: report }),
    props: {
      handleDOMEvents: {
        mousedown(view, event) {
          if (event.button !== 0) return false;
          dragging = true;
          hide();
          const release = () => {
            dragging = false;
            report(view);
          };
          view.dom.ownerDocument.addEventListener("mouseup", release, { once: true });
          return false;
        },
        // A release outside the window never arrives; the keyboard or focus moving on ends the drag too.
        keydown() {
          dragging = false;
          return false;
        },
        blur() {
          dragging = false;
          hide();
          return false;
        },
      },
    },
  });
}
