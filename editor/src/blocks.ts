import { lift, setBlockType, toggleMark, wrapIn } from "prosemirror-commands";
import type { NodeType } from "prosemirror-model";
import { wrapInList } from "prosemirror-schema-list";
import { type Command, type EditorState, TextSelection, type Transaction } from "prosemirror-state";
import { liftTarget } from "prosemirror-transform";
import { schema } from "./schema";

const { paragraph, heading, code_block, blockquote, bullet_list, ordered_list, list_item, horizontal_rule } =
  schema.nodes;

function depthOf(state: EditorState, type: NodeType): number {
  const $from = state.selection.$from;
  for (let d = $from.depth; d > 0; d--) if ($from.node(d).type === type) return d;
  return -1;
}

// Lifts the selected blocks out of every list and quote around them.
function liftOut(tr: Transaction): void {
  for (let guard = 0; guard < 32; guard++) {
    const { $from, $to } = tr.selection;
    const range = $from.blockRange($to);
    if (!range) return;
    const target = liftTarget(range);
    if (target === null) return;
    tr.lift(range, target);
  }
}

function toTextblock(type: NodeType, attrs?: Record<string, unknown>): Command {
  return (state, dispatch) => {
    if (setBlockType(type, attrs)(state, dispatch)) return true;
    const $from = state.selection.$from;
    return $from.parent.type === type && (!attrs || Object.entries(attrs).every(([k, v]) => $from.parent.attrs[k] === v));
  };
}

const plainText: Command = (state, dispatch) => {
  if (!dispatch) return true;
  const tr = state.tr;
  liftOut(tr);
  const { from, to } = tr.selection;
  tr.setBlockType(from, to, paragraph);
  dispatch(tr.scrollIntoView());
  return true;
};

// Turns the block into a list item of the given kind; inside a list, changes that list's kind instead.
function list(listType: NodeType, checked: boolean | null): Command {
  return (state, dispatch) => {
    const tr = state.tr;
    if (state.selection.$from.parent.type !== paragraph) {
      tr.setBlockType(tr.selection.from, tr.selection.to, paragraph);
    }
    let current = state.apply(tr);
    const itemDepth = depthOf(current, list_item);
    if (itemDepth < 0) {
      let wrapped: Transaction | undefined;
      if (!wrapInList(listType)(current, (t) => (wrapped = t)) || !wrapped) return false;
      for (const step of wrapped.steps) tr.step(step);
    } else {
      const $from = current.selection.$from;
      if ($from.node(itemDepth - 1).type !== listType) {
        tr.setNodeMarkup($from.before(itemDepth - 1), listType, listType === ordered_list ? { order: 1 } : {});
      }
    }
    current = state.apply(tr);
    const $from = current.selection.$from;
    const depth = depthOf(current, list_item);
    if (depth > 0 && $from.node(depth).attrs.checked !== checked) {
      tr.setNodeMarkup($from.before(depth), undefined, { ...$from.node(depth).attrs, checked });
    }
    if (dispatch) dispatch(tr.scrollIntoView());
    return true;
  };
}

const divider: Command = (state, dispatch) => {
  if (!dispatch) return true;
  const { $from } = state.selection;
  const tr = state.tr;
  const block = $from.parent;
  if (block.type === paragraph && block.content.size === 0 && $from.depth >= 1) {
    const pos = $from.before();
    tr.replaceWith(pos, $from.after(), [horizontal_rule.create(), paragraph.create()]);
    tr.setSelection(TextSelection.create(tr.doc, pos + 2));
  } else {
    const after = $from.after($from.depth);
    tr.insert(after, [horizontal_rule.create(), paragraph.create()]);
    tr.setSelection(TextSelection.create(tr.doc, after + 2));
  }
  dispatch(tr.scrollIntoView());
  return true;
};

export const blockCommands: Record<string, Command> = {
  todo: list(bullet_list, false),
  bullet: list(bullet_list, null),
  ordered: list(ordered_list, null),
  h1: toTextblock(heading, { level: 1 }),
  h2: toTextblock(heading, { level: 2 }),
  h3: toTextblock(heading, { level: 3 }),
  text: plainText,
  quote: (state, dispatch) => wrapIn(blockquote)(state, dispatch) || lift(state, dispatch),
  code: toTextblock(code_block),
  divider,
  image: () => true,
};

export const markCommands: Record<string, Command> = {
  "mark:bold": toggleMark(schema.marks.strong),
  "mark:italic": toggleMark(schema.marks.em),
  "mark:strike": toggleMark(schema.marks.strike),
  "mark:code": toggleMark(schema.marks.code),
};
