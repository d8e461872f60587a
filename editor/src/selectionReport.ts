import { type EditorState, NodeSelection, Plugin } from "prosemirror-state";
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

// Tells the app where selected text is, and how it is marked, so it can show its format bar.
export function selectionReport(post: Post): Plugin {
  let shown: string | null = null;
  const hide = () => {
    if (shown !== null) post({ type: "selection", rect: null, marks: [] });
    shown = null;
  };
  return new Plugin({
    view: () => ({
      update(view) {
        const { selection } = view.state;
        if (selection.empty || selection instanceof NodeSelection || selection.$from.parent.type.spec.code) {
          hide();
          return;
        }
        const rect = rangeRect(view, selection.from, selection.to);
        const marks = activeMarks(view.state);
        const key = JSON.stringify([rect, marks]);
        if (key === shown) return;
        shown = key;
        post({ type: "selection", rect, marks });
      },
    }),
    props: {
      handleDOMEvents: {
        blur() {
          hide();
          return false;
        },
      },
    },
  });
}
