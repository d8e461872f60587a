import { diff, type Hunk } from "./diff";

export type MergeResult = { ok: true; text: string } | { ok: false; reason: string };

interface Change {
  start: number; // base lines [start, end) are replaced
  end: number;
  lines: string[];
  side: "ours" | "theirs";
}

function changes(base: string[], other: string[], side: Change["side"]): Change[] {
  return diff(base, other, (x, y) => x === y).map((h: Hunk) => ({
    start: h.aStart,
    end: h.aEnd,
    lines: other.slice(h.bStart, h.bEnd),
    side,
  }));
}

function rewrite(base: string[], start: number, end: number, edits: Change[]): string[] {
  const out: string[] = [];
  let at = start;
  for (const edit of edits) {
    out.push(...base.slice(at, edit.start), ...edit.lines);
    at = edit.end;
  }
  out.push(...base.slice(at, end));
  return out;
}

// Names the place in the base text, with its first line to help the AI find it.
function describe(base: string[], start: number, end: number): string {
  const where = end - start <= 1 ? `line ${start + 1}` : `lines ${start + 1}–${end}`;
  const line = (base[start] ?? "").trim();
  if (!line) return where;
  return `${where} ("${line.length > 60 ? line.slice(0, 59) + "…" : line}")`;
}

// Three-way merge by lines. Edits to different lines both survive; edits to the same lines (or insertions
// at the same place) must agree, otherwise the merge fails and says where.
export function merge3(base: string, ours: string, theirs: string): MergeResult {
  if (ours === theirs || theirs === base) return { ok: true, text: ours };
  if (ours === base) return { ok: true, text: theirs };

  const baseLines = base.split("\n");
  const all = [
    ...changes(baseLines, ours.split("\n"), "ours"),
    ...changes(baseLines, theirs.split("\n"), "theirs"),
  ].sort((a, b) => a.start - b.start || a.end - b.end);

  const out: string[] = [];
  let at = 0;
  for (let i = 0; i < all.length; ) {
    // A cluster is a run of changes that overlap or start at the same line.
    const cluster = [all[i]];
    let start = all[i].start;
    let end = all[i].end;
    for (i++; i < all.length && (all[i].start < end || all[i].start === start); i++) {
      cluster.push(all[i]);
      end = Math.max(end, all[i].end);
    }
    out.push(...baseLines.slice(at, start));
    const mine = cluster.filter((c) => c.side === "ours");
    const yours = cluster.filter((c) => c.side === "theirs");
    if (mine.length === 0 || yours.length === 0) {
      out.push(...rewrite(baseLines, start, end, cluster));
    } else {
      const a = rewrite(baseLines, start, end, mine);
      const b = rewrite(baseLines, start, end, yours);
      if (a.length !== b.length || a.some((line, n) => line !== b[n])) {
        return {
          ok: false,
          reason: `the note was edited at ${describe(baseLines, start, end)} while the AI changed the same place`,
        };
      }
      out.push(...a);
    }
    at = end;
    start = end;
  }
  out.push(...baseLines.slice(at));
  return { ok: true, text: out.join("\n") };
}
