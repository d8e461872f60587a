import type { Mark, MarkType, Node } from "prosemirror-model";

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
