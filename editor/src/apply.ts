import { Fragment, type Node } from "prosemirror-model";
import type { EditorState, Transaction } from "prosemirror-state";
import { diff } from "./diff";

// Turns the editor's document into `next` by replacing only the blocks that differ, and within each
// changed run only the part that differs, so that the caret and selection map through untouched text.
export function applyDocument(state: EditorState, next: Node): Transaction {
  const tr = state.tr;
  const current = state.doc;
  const oldBlocks: Node[] = [];
  const newBlocks: Node[] = [];
  current.forEach((node) => oldBlocks.push(node));
  next.forEach((node) => newBlocks.push(node));
  const oldStarts = starts(oldBlocks);
  const newStarts = starts(newBlocks);

  const hunks = diff(oldBlocks, newBlocks, (a, b) => a.eq(b));
  for (const hunk of hunks.reverse()) {
    const from = oldStarts[hunk.aStart];
    const newFrom = newStarts[hunk.bStart];
    const a = Fragment.from(oldBlocks.slice(hunk.aStart, hunk.aEnd));
    const b = Fragment.from(newBlocks.slice(hunk.bStart, hunk.bEnd));
    const start = a.findDiffStart(b);
    const end = a.findDiffEnd(b);
    if (start === null || !end) continue;
    let endA = end.a;
    let endB = end.b;
    const overlap = start - Math.min(endA, endB);
    if (overlap > 0) {
      endA += overlap;
      endB += overlap;
    }
    tr.replace(from + start, from + endA, next.slice(newFrom + start, newFrom + endB));
  }
  if (!tr.doc.eq(next)) {
    // The minimal edit could not express the change (schema fitting); replace the whole text instead.
    const whole = state.tr.replaceWith(0, current.content.size, next.content);
    return whole;
  }
  return tr;
}

function starts(blocks: Node[]): number[] {
  const out = [0];
  for (const block of blocks) out.push(out[out.length - 1] + block.nodeSize);
  return out;
}
