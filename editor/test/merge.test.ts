import assert from "node:assert/strict";
import { test } from "node:test";
import { diff } from "../src/diff";
import { merge3 } from "../src/merge";

test("diff finds the smallest runs of change", () => {
  const eq = (a: string, b: string) => a === b;
  assert.deepEqual(diff([..."abcdef"], [..."abXdef"], eq), [{ aStart: 2, aEnd: 3, bStart: 2, bEnd: 3 }]);
  assert.deepEqual(diff([..."abc"], [..."abc"], eq), []);
  assert.deepEqual(diff([..."ac"], [..."abc"], eq), [{ aStart: 1, aEnd: 1, bStart: 1, bEnd: 2 }]);
  const hunks = diff([..."xaybzc"], [..."abc"], eq);
  assert.deepEqual(
    hunks.map((h) => [h.aStart, h.aEnd, h.bStart, h.bEnd]),
    [[0, 1, 0, 0], [2, 3, 1, 1], [4, 5, 2, 2]],
  );
});

const base = ["# Groceries", "", "- milk", "- eggs", "", "Notes", "", "End"].join("\n");

test("edits to different places both survive", () => {
  const ours = base.replace("- milk", "- oat milk");
  const theirs = base.replace("End", "The end");
  assert.deepEqual(merge3(base, ours, theirs), { ok: true, text: ours.replace("End", "The end") });
});

test("overlapping edits are a conflict that names the place", () => {
  const ours = base.replace("- eggs", "- duck eggs");
  const theirs = base.replace("- eggs", "- no eggs");
  const merged = merge3(base, ours, theirs);
  assert.equal(merged.ok, false);
  assert.equal(!merged.ok && merged.reason, 'the note was edited at line 4 ("- eggs") while the AI changed the same place');

  // Two different insertions at the same place cannot be ordered either.
  const insertOurs = base.replace("- eggs", "- eggs\n- flour");
  const insertTheirs = base.replace("- eggs", "- eggs\n- sugar");
  assert.equal(merge3(base, insertOurs, insertTheirs).ok, false);
});

test("identical changes on both sides are taken once", () => {
  const both = base.replace("Notes", "Notes!");
  assert.deepEqual(merge3(base, both, both), { ok: true, text: both });
  const theirs = both + "\n\nmore";
  assert.deepEqual(merge3(base, both, theirs), { ok: true, text: theirs });
});

test("one side unchanged takes the other side whole", () => {
  assert.deepEqual(merge3(base, base, "new"), { ok: true, text: "new" });
  assert.deepEqual(merge3(base, "mine", base), { ok: true, text: "mine" });
  assert.deepEqual(merge3("", "typed", "appended"), { ok: false, reason: "the note was edited at line 1 while the AI changed the same place" });
});
