import { baseKeymap, chainCommands, exitCode, toggleMark } from "prosemirror-commands";
import { redo, undo } from "prosemirror-history";
import {
  InputRule,
  inputRules,
  textblockTypeInputRule,
  undoInputRule,
  wrappingInputRule,
} from "prosemirror-inputrules";
import { keymap } from "prosemirror-keymap";
import type { MarkType } from "prosemirror-model";
import { liftListItem, sinkListItem, splitListItem } from "prosemirror-schema-list";
import { type Command, type Plugin, TextSelection } from "prosemirror-state";
import { blockCommands } from "./blocks";
import { schema } from "./schema";

const { list_item, bullet_list, ordered_list, blockquote, heading, code_block, hard_break, horizontal_rule, paragraph } =
  schema.nodes;

function itemDepth(state: Parameters<Command>[0]): number {
  const $from = state.selection.$from;
  for (let d = $from.depth; d > 0; d--) if ($from.node(d).type === list_item) return d;
  return -1;
}

// Enter in a to-do starts another unchecked to-do; in a plain item, another plain item.
const splitItem: Command = (state, dispatch) => {
  const depth = itemDepth(state);
  if (depth < 0 || state.selection.$from.parent.type.spec.code) return false;
  const checked = state.selection.$from.node(depth).attrs.checked;
  return splitListItem(list_item, { checked: checked === null ? null : false })(state, dispatch);
};

const toggleTodo: Command = (state, dispatch) => {
  const depth = itemDepth(state);
  if (depth < 0) return false;
  const $from = state.selection.$from;
  const item = $from.node(depth);
  if (item.attrs.checked === null) return false;
  dispatch?.(state.tr.setNodeMarkup($from.before(depth), undefined, { ...item.attrs, checked: !item.attrs.checked }));
  return true;
};

// Backspace at the very start of a list item turns it back into a paragraph.
const liftAtItemStart: Command = (state, dispatch) => {
  const { $from, empty } = state.selection;
  const depth = itemDepth(state);
  if (!empty || depth < 0 || $from.parentOffset > 0 || $from.index(depth) > 0 || $from.depth !== depth + 1) return false;
  return liftListItem(list_item)(state, dispatch);
};

const hardBreak: Command = (state, dispatch) => {
  const parent = state.selection.$from.parent;
  if (!parent.type.contentMatch.matchType(hard_break) && parent.type !== paragraph) return false;
  if (parent.type === heading) return false;
  dispatch?.(state.tr.replaceSelectionWith(hard_break.create()).scrollIntoView());
  return true;
};

const indentCode: Command = (state, dispatch) => {
  if (!state.selection.$from.parent.type.spec.code) return false;
  dispatch?.(state.tr.insertText("  ").scrollIntoView());
  return true;
};

function markRule(pattern: RegExp, type: MarkType): InputRule {
  return new InputRule(pattern, (state, match, start, end) => {
    const inner = match[2];
    if (!inner || state.doc.resolve(start).parent.type.spec.code) return null;
    const tr = state.tr;
    const textStart = start + match[0].indexOf(match[1]);
    tr.replaceWith(textStart, end, schema.text(inner, [type.create()]));
    tr.removeStoredMark(type);
    return tr;
  });
}

function rules(): Plugin {
  return inputRules({
    rules: [
      wrappingInputRule(/^\s*([-+*])\s$/, bullet_list, (match) => ({ bullet: match[1] })),
      wrappingInputRule(
        /^(\d{1,9})([.)])\s$/,
        ordered_list,
        (match) => ({ order: Number(match[1]), delimiter: match[2] }),
        (match, node) => node.childCount + node.attrs.order === Number(match[1]),
      ),
      new InputRule(/^\[( |x)?\]\s$/, (state, match, start, end) => {
        const tr = state.tr.delete(start, end);
        let next = state.apply(tr);
        let done = false;
        blockCommands.todo(next, (t) => {
          for (const step of t.steps) tr.step(step);
          done = true;
        });
        if (!done) return null;
        next = state.apply(tr);
        const $from = next.selection.$from;
        for (let d = $from.depth; d > 0; d--) {
          if ($from.node(d).type === list_item) {
            tr.setNodeMarkup($from.before(d), undefined, { checked: match[1] === "x" });
            break;
          }
        }
        return tr;
      }),
      wrappingInputRule(/^\s*>\s$/, blockquote),
      textblockTypeInputRule(/^(#{1,6})\s$/, heading, (match) => ({ level: match[1].length })),
      textblockTypeInputRule(/^```([^\s`]*)\s$/, code_block, (match) => ({ params: match[1] ?? "" })),
      new InputRule(/^(---|\*\*\*|___)$/, (state, _match, start, end) => {
        const $start = state.doc.resolve(start);
        if ($start.parent.type !== paragraph || $start.parent.content.size !== end - start) return null;
        const from = $start.before();
        const tr = state.tr.replaceWith(from, $start.after(), [horizontal_rule.create(), paragraph.create()]);
        return tr.setSelection(TextSelection.create(tr.doc, from + 2));
      }),
      markRule(/(?:^|[^*])(\*\*([^*\s](?:[^*]*[^*\s])?)\*\*)$/, schema.marks.strong),
      markRule(/(?:^|[^~])(~~([^~\s](?:[^~]*[^~\s])?)~~)$/, schema.marks.strike),
      markRule(/(?:^|[^`])(`([^`\s](?:[^`]*[^`\s])?)`)$/, schema.marks.code),
    ],
  });
}

export function editingPlugins(editLink: Command): Plugin[] {
  return [
    rules(),
    keymap({
      "Mod-z": undo,
      "Shift-Mod-z": redo,
      "Mod-y": redo,
      Backspace: chainCommands(undoInputRule, liftAtItemStart),
      "Mod-b": toggleMark(schema.marks.strong),
      "Mod-i": toggleMark(schema.marks.em),
      "Shift-Mod-x": toggleMark(schema.marks.strike),
      "Mod-e": toggleMark(schema.marks.code),
      "Mod-k": editLink,
      "Mod-Enter": chainCommands(toggleTodo, exitCode),
      "Shift-Enter": chainCommands(exitCode, hardBreak),
      Enter: splitItem,
      // Tab never leaves the note: it indents list items, indents code, and is otherwise ignored.
      Tab: chainCommands(sinkListItem(list_item), indentCode, () => true),
      "Shift-Tab": chainCommands(liftListItem(list_item), () => true),
    }),
    keymap(baseKeymap),
  ];
}
