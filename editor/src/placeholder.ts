import { Plugin } from "prosemirror-state";
import { schema } from "./schema";
import { text } from "./texts";

// An empty note shows a hint in the page's language (the stylesheet draws it).
export function placeholder(): Plugin {
  return new Plugin({
    props: {
      attributes(state) {
        const first = state.doc.firstChild;
        const empty = state.doc.childCount === 1 && first?.type === schema.nodes.paragraph && first.content.size === 0;
        const attributes: Record<string, string> = empty ? { class: "empty", "data-placeholder": text("placeholder") } : {};
        return attributes;
      },
    },
  });
}
