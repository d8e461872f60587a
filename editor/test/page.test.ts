import assert from "node:assert/strict";
import { readFile } from "node:fs/promises";
import path from "node:path";
import { test } from "node:test";
import { fileURLToPath } from "node:url";
import { JSDOM } from "jsdom";

// The page exactly as the app loads it: the bundled dist/ built next to this test.
const dist = path.join(path.dirname(fileURLToPath(import.meta.url)), "dist");

async function loadPage(beforeParse: (window: Record<string, unknown>) => void) {
  const html = await readFile(path.join(dist, "index.html"), "utf8");
  const dom = new JSDOM(html, {
    url: "file://" + path.join(dist, "index.html"),
    runScripts: "dangerously",
    resources: "usable",
    pretendToBeVisual: true,
    beforeParse: (window) => beforeParse(window as unknown as Record<string, unknown>),
  });
  await new Promise((resolve) => dom.window.addEventListener("load", resolve));
  return dom.window as unknown as Record<string, unknown> & { dovrin: Record<string, unknown> };
}

test("the built page defines dovrin and reports ready, even to a handler that appears late", async () => {
  const received: Array<Record<string, unknown>> = [];
  const handler = { postMessage: (body: Record<string, unknown>) => received.push(JSON.parse(JSON.stringify(body))) };
  let window!: Record<string, unknown>;
  const page = await loadPage((w) => (window = w));
  assert.deepEqual(
    ["getMarkdown", "setMarkdown", "setColor", "focus", "applyExternalMarkdown", "imageStored", "runCommand", "insertImageFile"]
      .filter((name) => typeof page.dovrin[name] !== "function"),
    [],
  );
  assert.equal(received.length, 0);
  window.webkit = { messageHandlers: { dovrin: handler } };
  await new Promise((resolve) => setTimeout(resolve, 60));
  assert.equal(received[0]?.type, "ready");
  assert.ok(Number.isInteger(received[0].msSinceNavigation) && (received[0].msSinceNavigation as number) >= 0);
});
