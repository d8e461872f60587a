// Drives dovrin-mcp with the official MCP TypeScript SDK client over stdio, as an AI client would, with a
// stand-in app on the other side of the bridge.
// Usage: node client.mjs <path of dovrin-mcp> <path of the stand-in app>
import assert from "node:assert/strict";
import { spawn } from "node:child_process";
import { existsSync, mkdtempSync, rmSync } from "node:fs";
import { join } from "node:path";
import { setTimeout as sleep } from "node:timers/promises";

import { Client } from "@modelcontextprotocol/sdk/client/index.js";
import { StdioClientTransport } from "@modelcontextprotocol/sdk/client/stdio.js";

const [dovrinMcp, standInApp] = process.argv.slice(2);
if (!dovrinMcp || !standInApp) {
    console.error("usage: node client.mjs <dovrin-mcp> <stand-in app>");
    process.exit(2);
}

const home = mkdtempSync("/tmp/dv-");
const socketPath = join(home, "dv.sock");
const app = spawn(standInApp, [socketPath], { stdio: "ignore" });
let passed = 0;
let failed = 0;

async function check(name, body) {
    try {
        await body();
        passed += 1;
        console.log(`PASS ${name}`);
    } catch (error) {
        failed += 1;
        console.log(`FAIL ${name}: ${error.stack ?? error}`);
    }
}

try {
    for (let i = 0; i < 50 && !existsSync(socketPath); i += 1) await sleep(20);

    const transport = new StdioClientTransport({
        command: dovrinMcp,
        args: [],
        env: { ...process.env, DOVRIN_HOME: home, DOVRIN_APP: join(home, "no-dovrin") },
        stderr: "inherit",
    });
    const client = new Client({ name: "interop-client", version: "1.2.3" });
    await client.connect(transport);

    await check("initialize", async () => {
        assert.equal(client.getServerVersion().name, "dovrin");
        assert.equal(client.getServerVersion().title, "Dovrin");
        assert.deepEqual(client.getServerCapabilities().tools, { listChanged: false });
        assert.match(client.getInstructions(), /^Dovrin is the user's sticky-notes app on this computer\./);
        await client.ping();
    });

    await check("tools/list", async () => {
        const { tools } = await client.listTools();
        assert.deepEqual(
            tools.map((tool) => tool.name),
            ["list_notes", "read_note", "create_notes", "update_note", "set_todo", "delete_note"],
        );
        const readNote = tools[1];
        assert.equal(readNote.annotations.readOnlyHint, true);
        assert.deepEqual(readNote.inputSchema.required, ["note"]);
        assert.equal(tools[3].annotations.destructiveHint, true);
    });

    await check("tools/call", async () => {
        const args = { note: "dovrin://note/0f8fad5b-d9cb-469f-a165-70867728950e", max_chars: 2000 };
        const result = await client.callTool({ name: "read_note", arguments: args });
        assert.equal(result.isError, false);
        assert.equal(result.content.length, 1);
        assert.equal(result.content[0].type, "text");
        const forwarded = JSON.parse(result.content[0].text);
        assert.equal(forwarded.tool, "read_note");
        assert.deepEqual(forwarded.arguments, args);
        assert.deepEqual(forwarded.client, { name: "interop-client", title: null, version: "1.2.3" });
    });

    await check("unknown tool", async () => {
        await assert.rejects(client.callTool({ name: "list", arguments: {} }), (error) => {
            assert.equal(error.code, -32602);
            assert.match(error.message, /Unknown tool: list/);
            return true;
        });
    });

    await client.close();
} catch (error) {
    failed += 1;
    console.log(`FAIL setup: ${error.stack ?? error}`);
} finally {
    app.kill();
    rmSync(home, { recursive: true, force: true });
}

console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 && passed > 0 ? 0 : 1);
