// Builds the page into dist/ (or the folder given with --outdir): index.html, index.js, index.css.
import { build } from "esbuild";
import { copyFile, mkdir } from "node:fs/promises";
import path from "node:path";
import { fileURLToPath } from "node:url";

const root = path.dirname(path.dirname(fileURLToPath(import.meta.url)));
const flag = process.argv.indexOf("--outdir");
const outdir = path.resolve(flag >= 0 ? process.argv[flag + 1] : path.join(root, "dist"));

await mkdir(outdir, { recursive: true });
await build({
  entryPoints: { index: path.join(root, "src/main.ts") },
  bundle: true,
  minify: true,
  format: "iife",
  // Qt 6.4's web engine is Chromium 102.
  target: ["chrome102"],
  outdir,
  legalComments: "none",
  logLevel: "warning",
});
await copyFile(path.join(root, "index.html"), path.join(outdir, "index.html"));
