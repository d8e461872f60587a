// Checks the types, bundles every test/*.test.ts (and the page itself) into .test-out/<pid>/ and runs them
// with node's test runner. The folder stays inside editor/ so that the bundles find jsdom in node_modules.
import { build } from "esbuild";
import { spawnSync } from "node:child_process";
import { readdir, rm } from "node:fs/promises";
import path from "node:path";
import { fileURLToPath } from "node:url";

const root = path.dirname(path.dirname(fileURLToPath(import.meta.url)));
const out = path.join(root, ".test-out", String(process.pid));
await rm(out, { recursive: true, force: true });

// Type errors fail the tests too: esbuild alone would bundle them silently.
const types = spawnSync(process.execPath, [path.join(root, "node_modules/typescript/bin/tsc"), "--noEmit", "-p", root], {
  stdio: "inherit",
});
if (types.status !== 0) process.exit(types.status ?? 1);

const tests = (await readdir(path.join(root, "test"))).filter((name) => name.endsWith(".test.ts"));
await build({
  entryPoints: tests.map((name) => path.join(root, "test", name)),
  bundle: true,
  platform: "node",
  format: "esm",
  target: "node20",
  outdir: out,
  outExtension: { ".js": ".mjs" },
  external: ["jsdom"],
  sourcemap: "inline",
  logLevel: "warning",
});
// The page as the app loads it, for the tests that run the real bundle.
const page = spawnSync(process.execPath, [path.join(root, "scripts/build.mjs"), "--outdir", path.join(out, "dist")], {
  stdio: "inherit",
});
if (page.status !== 0) process.exit(page.status ?? 1);

const files = tests.map((name) => path.join(out, name.replace(/\.ts$/, ".mjs")));
const run = spawnSync(process.execPath, ["--enable-source-maps", "--test", ...files], { stdio: "inherit", cwd: root });
await rm(out, { recursive: true, force: true });
process.exit(run.status ?? 1);
