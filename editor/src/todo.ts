import type { Node } from "prosemirror-model";
import type { EditorView, NodeView, ViewMutationRecord } from "prosemirror-view";
import { text } from "./texts";

// A list item that shows a check box when it is a to-do.
export class ListItemView implements NodeView {
  dom: HTMLLIElement;
  contentDOM: HTMLElement;
  private box: HTMLInputElement | null = null;

  constructor(
    private node: Node,
    private view: EditorView,
    private getPos: () => number | undefined,
  ) {
    this.dom = document.createElement("li");
    this.contentDOM = document.createElement("div");
    this.contentDOM.className = "item";
    if (node.attrs.checked !== null) {
      this.dom.className = "todo";
      const box = document.createElement("input");
      box.type = "checkbox";
      box.contentEditable = "false";
      box.setAttribute("aria-label", text("todo"));
      box.addEventListener("mousedown", (event) => event.preventDefault());
      box.addEventListener("click", (event) => {
        event.preventDefault();
        this.toggle();
      });
      this.box = box;
      this.dom.append(box);
    }
    this.dom.append(this.contentDOM);
    this.render(node);
  }

  private render(node: Node): void {
    this.node = node;
    if (this.box) {
      this.box.checked = node.attrs.checked === true;
      this.dom.dataset.checked = String(node.attrs.checked === true);
    }
  }

  private toggle(): void {
    const pos = this.getPos();
    if (pos === undefined) return;
    const checked = !this.node.attrs.checked;
    this.view.dispatch(this.view.state.tr.setNodeMarkup(pos, undefined, { ...this.node.attrs, checked }));
  }

  update(node: Node): boolean {
    if (node.type !== this.node.type || (node.attrs.checked === null) !== (this.box === null)) return false;
    this.render(node);
    return true;
  }

  stopEvent(event: Event): boolean {
    return event.target === this.box;
  }

  ignoreMutation(mutation: ViewMutationRecord): boolean {
    return mutation.target === this.box || (mutation.type === "attributes" && mutation.target === this.dom);
  }
}
