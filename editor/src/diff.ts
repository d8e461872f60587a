// A run of `a[aStart, aEnd)` that becomes `b[bStart, bEnd)`; everything between runs is equal.
export interface Hunk {
  aStart: number;
  aEnd: number;
  bStart: number;
  bEnd: number;
}

// Past this many differences the middle is treated as one changed run: cheaper than an exact answer
// that nobody needs (such texts cannot be merged line by line anyway).
const maxEdits = 1000;

// Myers' O(ND) difference of two sequences, after trimming their common ends.
export function diff<T>(a: readonly T[], b: readonly T[], eq: (x: T, y: T) => boolean): Hunk[] {
  let start = 0;
  while (start < a.length && start < b.length && eq(a[start], b[start])) start++;
  let endA = a.length;
  let endB = b.length;
  while (endA > start && endB > start && eq(a[endA - 1], b[endB - 1])) {
    endA--;
    endB--;
  }
  const n = endA - start;
  const m = endB - start;
  if (n === 0 && m === 0) return [];
  if (n === 0 || m === 0) return [{ aStart: start, aEnd: endA, bStart: start, bEnd: endB }];

  const max = Math.min(n + m, maxEdits);
  const offset = max + 1;
  const v = new Int32Array(2 * max + 3);
  const trace: Int32Array[] = [];
  let found = -1;
  for (let d = 0; d <= max && found < 0; d++) {
    trace.push(v.slice());
    for (let k = -d; k <= d; k += 2) {
      let x =
        k === -d || (k !== d && v[offset + k - 1] < v[offset + k + 1]) ? v[offset + k + 1] : v[offset + k - 1] + 1;
      let y = x - k;
      while (x < n && y < m && eq(a[start + x], b[start + y])) {
        x++;
        y++;
      }
      v[offset + k] = x;
      if (x >= n && y >= m) {
        found = d;
        break;
      }
    }
  }
  if (found < 0) return [{ aStart: start, aEnd: endA, bStart: start, bEnd: endB }];

  // Walk the trace back to collect the matched diagonals, then turn the gaps between them into hunks.
  const matches: Array<[number, number, number]> = [];
  let x = n;
  let y = m;
  for (let d = found; d > 0; d--) {
    const prev = trace[d];
    const k = x - y;
    const prevK = k === -d || (k !== d && prev[offset + k - 1] < prev[offset + k + 1]) ? k + 1 : k - 1;
    const prevX = prev[offset + prevK];
    const prevY = prevX - prevK;
    const snakeStartX = prevK === k + 1 ? prevX : prevX + 1;
    const snakeStartY = snakeStartX - k;
    if (x > snakeStartX) matches.push([snakeStartX, snakeStartY, x - snakeStartX]);
    x = prevX;
    y = prevY;
  }
  if (x > 0) matches.push([0, 0, x]);
  matches.reverse();

  const hunks: Hunk[] = [];
  let ax = 0;
  let by = 0;
  for (const [mx, my, len] of [...matches, [n, m, 0] as [number, number, number]]) {
    if (mx > ax || my > by) hunks.push({ aStart: start + ax, aEnd: start + mx, bStart: start + by, bEnd: start + my });
    ax = mx + len;
    by = my + len;
  }
  return hunks;
}
