// Measures the built page in headless Chromium (the engine Qt WebEngine embeds): time to ready, to fill
// a typical and a 200 KB note, to read it back, and to merge an AI edit into it. Prints JSON.
// Usage: node scripts/bench.mjs [path to chromium]
import { build } from "esbuild";
import { spawnSync } from "node:child_process";
import { mkdtemp, rm, writeFile } from "node:fs/promises";
import { tmpdir } from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";

const root = path.dirname(path.dirname(fileURLToPath(import.meta.url)));
const chromium = process.argv[2] ?? "chromium";
const dir = await mkdtemp(path.join(tmpdir(), "dovrin-editor-bench-"));
const built = spawnSync(process.execPath, [path.join(root, "scripts/build.mjs"), "--outdir", dir], { stdio: "inherit" });
if (built.status !== 0) process.exit(1);

// The Markdown layer alone, to tell parsing apart from drawing.
await build({
  entryPoints: [path.join(root, "src/markdown.ts")],
  bundle: true,
  format: "iife",
  globalName: "markdown",
  target: ["chrome102"],
  outfile: path.join(dir, "markdown.js"),
  logLevel: "warning",
});

function note(size) {
  const parts = [];
  let length = 0;
  for (let i = 0; length < size; i++) {
    const section = [
      `## Section ${i}`,
      `Paragraph ${i} with **bold**, *italic*, [a link](https://example.com/${i}) and \`code\`.`,
      `- [ ] task ${i}\n- [x] done ${i}\n  - nested ${i}`,
    ];
    parts.push(...section);
    length += section.join("\n\n").length + 2;
  }
  return parts.join("\n\n");
}

const bench = `
const messages = window.__messages;
const time = (f) => { const t = performance.now(); f(); document.body.offsetHeight; return performance.now() - t; };
const big = ${JSON.stringify(note(200000))};
const small = ${JSON.stringify(note(2000))};
const result = { readyMs: messages.find((m) => m.type === "ready").msSinceNavigation, bigChars: big.length };
result.parseBigMs = time(() => markdown.parseMarkdown(big));
result.fillSmallMs = time(() => dovrin.setMarkdown(small));
result.fillBigMs = time(() => dovrin.setMarkdown(big));
result.getBigMs = time(() => dovrin.getMarkdown());
const appended = big + "\\n\\nAdded by the AI.";
result.mergeBigMs = time(() => {
  const answer = dovrin.applyExternalMarkdown({ markdown: appended, base: big });
  if (answer.status !== "applied") throw new Error(answer.reason);
});
result.getAfterMergeMs = time(() => dovrin.getMarkdown());
result.mergedExactly = dovrin.getMarkdown() === appended;
document.getElementById("result").textContent = JSON.stringify(result);
`;
await writeFile(path.join(dir, "bench.js"), bench);
await writeFile(
  path.join(dir, "bench.html"),
  `<!doctype html><html lang="en"><head><meta charset="utf-8"><link rel="stylesheet" href="index.css"></head>
<body><main id="editor"></main><pre id="result"></pre>
<script>window.__messages = []; window.webkit = { messageHandlers: { dovrin: { postMessage: (m) => window.__messages.push(m) } } };</script>
<script src="index.js"></script><script src="markdown.js"></script><script src="bench.js"></script></body></html>`,
);
const run = spawnSync(
  chromium,
  ["--headless", "--no-sandbox", "--disable-gpu", "--virtual-time-budget=60000", "--dump-dom", "file://" + path.join(dir, "bench.html")],
  { encoding: "utf8", maxBuffer: 64 * 1024 * 1024 },
);
const match = /<pre id="result">([^<]*)<\/pre>/.exec(run.stdout ?? "");
await rm(dir, { recursive: true, force: true });
if (!match || !match[1]) {
  process.stderr.write(run.stderr ?? "");
  console.error("no result from the page");
  process.exit(1);
}
const values = JSON.parse(match[1]);
for (const [key, value] of Object.entries(values)) values[key] = typeof value === "number" ? Math.round(value * 10) / 10 : value;
console.log(JSON.stringify(values, null, 2));
