import "./dom";
import assert from "node:assert/strict";
import { test } from "node:test";
import { DOMParser as ProseMirrorParser, DOMSerializer } from "prosemirror-model";
import { TextSelection } from "prosemirror-state";
import type { EditorView } from "prosemirror-view";
import type { Message } from "../src/bridge";
import { changeDelay, createEditor } from "../src/editor";
import { serializeMarkdown } from "../src/markdown";
import { schema } from "../src/schema";

function openEditor(markdown = "") {
  const mount = document.createElement("div");
  document.body.append(mount);
  const messages: Message[] = [];
  const editor = createEditor(mount, (message) => messages.push(message));
  editor.dovrin.setMarkdown(markdown);
  return { ...editor, messages };
}

const pause = (ms: number) => new Promise((resolve) => setTimeout(resolve, ms));

function type(view: EditorView, text: string) {
  for (const char of text) {
    const { from, to } = view.state.selection;
    const handled = view.someProp("handleTextInput", (f) => f(view, from, to, char, () => view.state.tr.insertText(char, from, to)));
    if (!handled) view.dispatch(view.state.tr.insertText(char, from, to));
  }
}

function key(view: EditorView, name: string) {
  return view.someProp("handleKeyDown", (f) => f(view, new KeyboardEvent("keydown", { key: name }))) ?? false;
}

function caretAfter(view: EditorView, text: string) {
  let at = -1;
  view.state.doc.descendants((node, pos) => {
    if (at < 0 && node.isText && node.text!.includes(text)) at = pos + node.text!.indexOf(text) + text.length;
  });
  assert.ok(at >= 0, `no ${text} in the document`);
  view.dispatch(view.state.tr.setSelection(TextSelection.create(view.state.doc, at)));
}

function select(view: EditorView, text: string) {
  caretAfter(view, text);
  const to = view.state.selection.from;
  view.dispatch(view.state.tr.setSelection(TextSelection.create(view.state.doc, to - text.length, to)));
}

const ofType = (messages: Message[], type: string) => messages.filter((m) => m.type === type);

test("filling is silent; typing is reported after a pause, once, with the whole text", async () => {
  const { dovrin, view, messages, flush } = openEditor("# Title\n\n- [ ] milk");
  assert.equal(dovrin.getMarkdown(), "# Title\n\n- [ ] milk");
  caretAfter(view, "milk");
  type(view, " and eggs");
  assert.equal(ofType(messages, "changed").length, 0);
  await pause(changeDelay + 50);
  assert.deepEqual(ofType(messages, "changed"), [{ type: "changed", markdown: "# Title\n\n- [ ] milk and eggs" }]);
  flush();
  assert.equal(ofType(messages, "changed").length, 1, "an unchanged text is not reported again");
  dovrin.setMarkdown(42);
  assert.equal(dovrin.getMarkdown(), "# Title\n\n- [ ] milk and eggs", "a non-string fill is ignored");
});

test("typing without a pause is still reported every second", async () => {
  const { view, messages } = openEditor("x");
  caretAfter(view, "x");
  const started = Date.now();
  while (Date.now() - started < 1500) {
    type(view, "y");
    await pause(changeDelay / 3);
  }
  assert.ok(ofType(messages, "changed").length >= 1);
});

test("an AI edit merges with the user typing elsewhere, and the caret stays with its text", async () => {
  const base = "# Groceries\n\n- [ ] milk\n- [ ] eggs\n\nSee you";
  const { dovrin, view, messages } = openEditor(base);
  caretAfter(view, "Groceries");
  type(view, " for Sunday");
  const answer = await dovrin.applyExternalMarkdown({ markdown: base + "\n\n- [ ] bread", base });
  assert.deepEqual(answer, {
    status: "applied",
    markdown: "# Groceries for Sunday\n\n- [ ] milk\n- [ ] eggs\n\nSee you\n\n- [ ] bread",
  });
  // The user's own typing was reported before the merged text, so it is saved as theirs.
  assert.deepEqual(ofType(messages, "changed").at(-1), {
    type: "changed",
    markdown: "# Groceries for Sunday\n\n- [ ] milk\n- [ ] eggs\n\nSee you",
  });
  type(view, "!");
  assert.match(dovrin.getMarkdown(), /^# Groceries for Sunday!\n/);

  // A caret below an AI edit in the middle moves with its text.
  dovrin.setMarkdown("one\n\ntwo\n\nthree");
  caretAfter(view, "thr");
  const middle = await dovrin.applyExternalMarkdown({ markdown: "one\n\nTWO, longer now\n\nthree", base: "one\n\ntwo\n\nthree" });
  assert.equal(middle.status, "applied");
  type(view, "-");
  assert.equal(dovrin.getMarkdown(), "one\n\nTWO, longer now\n\nthr-ee");
});

test("overlapping edits are a conflict that leaves the note as the user has it", async () => {
  const base = "- [ ] milk\n- [ ] eggs";
  const { dovrin, view } = openEditor(base);
  caretAfter(view, "eggs");
  type(view, " (six)");
  const answer = await dovrin.applyExternalMarkdown({ markdown: "- [ ] milk\n- [x] eggs", base });
  assert.equal(answer.status, "conflict");
  assert.equal(typeof answer.reason, "string");
  assert.equal(dovrin.getMarkdown(), "- [ ] milk\n- [ ] eggs (six)");
});

test("a merge compares texts in the editor's form, not as the AI spelled them", async () => {
  const { dovrin } = openEditor("Title\n=====\n\n* a");
  assert.equal(dovrin.getMarkdown(), "# Title\n\n* a");
  const answer = await dovrin.applyExternalMarkdown({ markdown: "Title\n=====\n\n* a\n* b", base: "Title\n=====\n\n* a" });
  assert.deepEqual(answer, { status: "applied", markdown: "# Title\n\n* a\n* b" });

  // Unusable arguments are answered, never thrown.
  dovrin.setMarkdown("text");
  for (const args of [null, undefined, 5, {}, { markdown: 1, base: "" }, { markdown: "x" }]) {
    const answer = await dovrin.applyExternalMarkdown(args);
    assert.equal(answer.status, "error");
    assert.ok(answer.reason);
  }
  assert.equal(dovrin.getMarkdown(), "text");
});

test("a merge waits until the input method's composition ends", async () => {
  const base = "first\n\nsecond";
  const { dovrin, view } = openEditor(base);
  caretAfter(view, "first");
  view.dom.dispatchEvent(new CompositionEvent("compositionstart", { data: "" }));
  assert.equal(view.composing, true);
  const pending = dovrin.applyExternalMarkdown({ markdown: base + "\n\nthird", base });
  assert.ok(pending instanceof Promise);
  assert.equal(dovrin.getMarkdown(), base, "nothing changes under the composition");
  view.dom.dispatchEvent(new CompositionEvent("compositionend", { data: "" }));
  assert.deepEqual(await pending, { status: "applied", markdown: base + "\n\nthird" });
});

test("bad input through the page's interface throws nothing and loses nothing", async () => {
  // What the editor cannot represent is markdown.test.ts's; here a large note and unusable calls.
  const { dovrin, view } = openEditor();
  const lines: string[] = [];
  const filler = "words that make a long paragraph, *with* marks and [links](https://example.com). ".repeat(20).trim();
  for (let i = 0, size = 0; size < 200_000; i++) size += lines[lines.push(`Line ${i}: ${filler}`) - 1].length + 2;
  const big = lines.join("\n\n");
  dovrin.setMarkdown(big);
  assert.equal(dovrin.getMarkdown(), big);
  caretAfter(view, "Line 0");
  type(view, " (top)");
  const answer = await dovrin.applyExternalMarkdown({ markdown: big + "\n\nAppended", base: big });
  assert.equal(answer.status, "applied");
  assert.equal(dovrin.getMarkdown(), big.replace("Line 0", "Line 0 (top)") + "\n\nAppended");
  const rewritten = lines.map((line) => line.toUpperCase()).join("\n\n");
  assert.equal((await dovrin.applyExternalMarkdown({ markdown: rewritten, base: big })).status, "conflict");
  for (const [id, arg] of [[1, 2], [null, null], ["link:set", { href: 5 }], ["link:set", "x"], ["h1", undefined]]) {
    dovrin.runCommand(id, arg);
  }
  dovrin.imageStored("1", "app://local/images/x.png");
  dovrin.imageStored(1.5, {});
});

test("the slash menu opens on a typed slash, forwards its keys and runs every block command", () => {
  const { dovrin, view, messages } = openEditor("Intro\n\nitem");
  caretAfter(view, "item");
  key(view, "Home");
  view.dispatch(view.state.tr.setSelection(TextSelection.create(view.state.doc, view.state.selection.$from.start())));
  type(view, "/he");
  const slash = ofType(messages, "slash");
  assert.deepEqual(slash.map((m) => [m.state, m.query]), [["open", ""], ["update", "h"], ["update", "he"]]);
  assert.ok(slash[0].rect && typeof (slash[0].rect as { x: number }).x === "number");
  assert.ok(key(view, "ArrowDown"));
  assert.ok(key(view, "ArrowUp"));
  assert.ok(key(view, "Enter"));
  assert.deepEqual(ofType(messages, "slashKey").map((m) => m.key), ["down", "up", "enter"]);
  dovrin.runCommand("h2", {});
  assert.equal(dovrin.getMarkdown(), "Intro\n\n## item");
  assert.equal(ofType(messages, "slash").at(-1)?.state, "close");
  assert.equal(key(view, "ArrowDown"), false, "keys are the page's own again");

  const cases: Array<[string, string, string]> = [
    ["todo", "Text", "- [ ] Text"],
    ["bullet", "Text", "- Text"],
    ["ordered", "Text", "1. Text"],
    ["bullet", "- [ ] Text", "- Text"],
    ["todo", "1. Text", "- [ ] Text"],
    ["h1", "Text", "# Text"],
    ["h3", "Text", "### Text"],
    ["text", "## Text", "Text"],
    ["text", "> - [ ] Text", "Text"],
    ["quote", "Text", "> Text"],
    ["code", "Text", "```\nText\n```"],
    ["divider", "Text", "Text\n\n---\n\n<br />"],
    ["image", "Text", "Text"],
  ];
  for (const [id, before, after] of cases) {
    dovrin.setMarkdown(before);
    caretAfter(view, "Te");
    dovrin.runCommand(id, {});
    assert.equal(dovrin.getMarkdown(), after, `${id} on ${JSON.stringify(before)}`);
  }

  dovrin.setMarkdown("x");
  caretAfter(view, "x");
  type(view, " /nothing");
  dovrin.runCommand("slash:close", {});
  assert.equal(ofType(messages, "slash").at(-1)?.state, "close");
  assert.equal(dovrin.getMarkdown(), "x /nothing", "closing keeps what was typed");
  type(view, "/");
  assert.notEqual(ofType(messages, "slash").at(-1)?.state, "open", "a slash inside a word is text");
  dovrin.runCommand("no such command", {});
  dovrin.runCommand(undefined, undefined);
});

test("text typed after Return, before the app's command arrives, stays in the note", () => {
  const { dovrin, view, messages } = openEditor("");
  type(view, "/todo");
  assert.ok(key(view, "Enter"));
  const updates = ofType(messages, "slash").length;
  type(view, "milk");
  assert.equal(ofType(messages, "slash").length, updates, "the menu no longer follows the typing");
  assert.equal(key(view, "ArrowDown"), false, "keys are the page's own again");
  dovrin.runCommand("todo", {});
  assert.equal(dovrin.getMarkdown(), "- [ ] milk");
  assert.equal(ofType(messages, "slash").at(-1)?.state, "close");

  dovrin.setMarkdown("");
  type(view, "/zzz");
  assert.ok(key(view, "Enter"));
  type(view, "!");
  dovrin.runCommand("slash:close", {});
  assert.equal(dovrin.getMarkdown(), "/zzz!", "no match inserts nothing and keeps what was typed");
});

test("format commands toggle marks on the selection, which is reported with its marks once made", () => {
  const { dovrin, view, messages } = openEditor("some text here");
  select(view, "text");
  const shown = ofType(messages, "selection").at(-1)!;
  assert.deepEqual(shown.marks, []);
  assert.ok(shown.rect);
  for (const [id, markdown] of [
    ["mark:bold", "some **text** here"],
    ["mark:italic", "some ***text*** here"],
    ["mark:strike", "some ***~~text~~*** here"],
  ]) {
    dovrin.runCommand(id, {});
    assert.equal(dovrin.getMarkdown(), markdown, id);
  }
  assert.deepEqual(ofType(messages, "selection").at(-1)!.marks, ["bold", "italic", "strike"]);
  dovrin.runCommand("mark:bold", {});
  dovrin.runCommand("mark:italic", {});
  dovrin.runCommand("mark:strike", {});
  dovrin.runCommand("mark:code", {});
  assert.equal(dovrin.getMarkdown(), "some `text` here");
  caretAfter(view, "some");
  assert.deepEqual(ofType(messages, "selection").at(-1), { type: "selection", rect: null, marks: [] });

  // A selection made with the mouse is reported when the button is released.
  const reported = ofType(messages, "selection").length;
  view.dom.dispatchEvent(new MouseEvent("mousedown", { bubbles: true, button: 0 }));
  select(view, "here");
  assert.equal(ofType(messages, "selection").length, reported, "nothing while dragging");
  document.dispatchEvent(new MouseEvent("mouseup", { bubbles: true, button: 0 }));
  assert.equal(ofType(messages, "selection").length, reported + 1);
  assert.ok(ofType(messages, "selection").at(-1)!.rect);
});

test("links are edited on the reported range, set, and removed", () => {
  const { dovrin, view, messages } = openEditor("read the docs today");
  select(view, "the docs");
  dovrin.runCommand("link:edit", {});
  const edit = ofType(messages, "link").at(-1)!;
  assert.equal(edit.mode, "edit");
  assert.equal(edit.href, "");
  assert.equal(edit.pos, 6);
  caretAfter(view, "read");
  dovrin.runCommand("link:set", { href: "https://example.com/docs" });
  assert.equal(dovrin.getMarkdown(), "read [the docs](https://example.com/docs) today");

  caretAfter(view, "the d");
  dovrin.runCommand("link:edit", {});
  assert.equal(ofType(messages, "link").at(-1)!.href, "https://example.com/docs");
  dovrin.runCommand("link:cancel", {});
  dovrin.runCommand("link:set", { href: "https://example.org" });
  assert.equal(dovrin.getMarkdown(), "read [the docs](https://example.org) today", "the link under the caret is changed");
  dovrin.runCommand("link:remove", {});
  assert.equal(dovrin.getMarkdown(), "read the docs today");

  select(view, "docs");
  dovrin.runCommand("link:edit", {});
  dovrin.runCommand("link:set", { href: "javascript:alert(1)" });
  assert.equal(dovrin.getMarkdown(), "read the docs today", "a script URL never becomes a link");

  caretAfter(view, "today");
  dovrin.runCommand("link:edit", {});
  dovrin.runCommand("link:set", { href: "https://example.net" });
  assert.equal(dovrin.getMarkdown(), "read the docs today<https://example.net>");
});

test("images are shown at once, stored by the app, and dropped when storing fails", async () => {
  const { dovrin, view, messages } = openEditor("Photo:");
  caretAfter(view, "Photo:");
  dovrin.insertImageFile({ mime: "image/png", data: "iVBORw0KGgo=" });
  dovrin.insertImageFile({ mime: "image/jpeg", data: "/9j/4AAQ" });
  const images = ofType(messages, "image");
  assert.deepEqual(images.map((m) => [m.mime, m.data]), [["image/png", "iVBORw0KGgo="], ["image/jpeg", "/9j/4AAQ"]]);
  assert.notEqual(images[0].id, images[1].id);
  assert.equal(dovrin.getMarkdown(), "Photo:", "an image being stored is not in the Markdown yet");
  assert.ok(view.dom.querySelector('img[src^="data:image/png;base64,"]'));

  dovrin.imageStored(images[0].id, "app://local/images/1b4e28ba-2fa1-11d2-883f-0016d3cca427.png");
  dovrin.imageStored(images[1].id, null);
  assert.equal(dovrin.getMarkdown(), "Photo:![](app://local/images/1b4e28ba-2fa1-11d2-883f-0016d3cca427.png)");
  assert.equal(view.dom.querySelectorAll("img:not(.ProseMirror-separator)").length, 1);

  dovrin.imageStored(999, "app://local/images/unknown.png");
  dovrin.insertImageFile({ mime: "text/plain", data: "aGk=" });
  dovrin.insertImageFile({ mime: "image/png" });
  dovrin.insertImageFile(null);
  assert.equal(ofType(messages, "image").length, 2);

  // An image still being stored when an AI merge rewrites its block is kept.
  dovrin.setMarkdown("a");
  caretAfter(view, "a");
  dovrin.insertImageFile({ mime: "image/png", data: "iVBORw0KGgo=" });
  const id = ofType(messages, "image")[2].id;
  assert.equal((await dovrin.applyExternalMarkdown({ markdown: "b", base: "a" })).status, "applied");
  dovrin.imageStored(id, "app://local/images/late.png");
  assert.equal(dovrin.getMarkdown(), "b\n\n![](app://local/images/late.png)");
});

test("images from outside the app are shown as their alt text, never loaded, and kept in the Markdown", async () => {
  const note = [
    "![x](http://127.0.0.1:9/pixel.png)",
    'Inline ![](https://example.com/a.png "t"), ![host](//example.com/b.png) and ![near](pic.png)',
    "![mine](app://local/images/1b4e28ba-2fa1-11d2-883f-0016d3cca427.png) ![dot](data:image/png;base64,iVBORw0KGgo=)",
  ].join("\n\n");
  const { dovrin, view } = openEditor(note);
  assert.equal(dovrin.getMarkdown(), note);
  const boxes = [...view.dom.querySelectorAll<HTMLElement>(".remote-image")];
  assert.deepEqual(
    boxes.map((box) => [box.textContent, box.getAttribute("role"), box.getAttribute("aria-label"), box.title]),
    [
      ["x", "img", "x", "External images are not loaded"],
      ["Image", "img", "Image", "External images are not loaded"],
      ["host", "img", "host", "External images are not loaded"],
      ["near", "img", "near", "External images are not loaded"],
    ],
  );
  const loaded = [...view.dom.querySelectorAll("img:not(.ProseMirror-separator)")].map((img) => img.getAttribute("src"));
  assert.deepEqual(loaded, ["app://local/images/1b4e28ba-2fa1-11d2-883f-0016d3cca427.png", "data:image/png;base64,iVBORw0KGgo="]);

  // Copied as HTML and pasted back, a box is the same image again.
  const copy = document.createElement("div");
  copy.append(DOMSerializer.fromSchema(schema).serializeFragment(view.state.doc.content));
  assert.equal(serializeMarkdown(ProseMirrorParser.fromSchema(schema).parse(copy)), note);

  document.documentElement.lang = "zh-Hans";
  await pause(0);
  assert.deepEqual([boxes[0].textContent, boxes[1].textContent, boxes[1].title], ["x", "图片", "不加载外部图片"]);
  document.documentElement.lang = "en";
  await pause(0);
  assert.equal(dovrin.getMarkdown(), note);
});

test("colours come from the sticky palette, and the page's own texts follow the document language", async () => {
  const { dovrin, view } = openEditor();
  const root = document.documentElement;
  // Every colour's values are checked against the app's palette by StickyPaletteTest, in the real engine.
  dovrin.setColor("blue");
  assert.equal(root.dataset.color, "blue");
  assert.equal(root.style.getPropertyValue("--fill-light"), "216 241 255");
  dovrin.setColor("chartreuse");
  dovrin.setColor(undefined);
  assert.equal(root.dataset.color, "blue");

  assert.equal(view.dom.getAttribute("data-placeholder"), "Type / for commands");
  dovrin.setMarkdown("- [ ] box");
  document.documentElement.lang = "zh-Hans";
  await pause(0);
  assert.equal(view.dom.querySelector("li.todo > input")!.getAttribute("aria-label"), "待办");
  dovrin.setMarkdown("");
  assert.equal(view.dom.getAttribute("data-placeholder"), "输入 / 使用命令");
  document.documentElement.lang = "en";
});

test("Tab indents list items and code, and otherwise keeps the focus in the note", () => {
  const { dovrin, view } = openEditor("- one\n- two\n\ntext\n\n```\ncode\n```");
  caretAfter(view, "two");
  assert.ok(key(view, "Tab"));
  assert.equal(dovrin.getMarkdown(), "- one\n  - two\n\ntext\n\n```\ncode\n```");
  assert.ok(key(view, "Tab") !== false);
  caretAfter(view, "text");
  assert.ok(key(view, "Tab"), "Tab is taken even where it changes nothing");
  caretAfter(view, "co");
  key(view, "Tab");
  assert.equal(dovrin.getMarkdown(), "- one\n  - two\n\ntext\n\n```\nco  de\n```");
});

test("the hover card's buttons act on the hovered link even after the mouse left it; ctrl-click opens it", async () => {
  const { dovrin, view, messages } = openEditor("See [one](https://one.example) and [two](https://two.example).");
  caretAfter(view, "See");
  const anchor = view.dom.querySelectorAll("a")[1];
  anchor.dispatchEvent(new MouseEvent("mouseover", { bubbles: true }));
  await pause(300);
  assert.deepEqual(
    ofType(messages, "link").map((m) => [m.mode, m.href]),
    [["hover", "https://two.example"]],
  );
  anchor.dispatchEvent(new MouseEvent("mouseout", { bubbles: true, relatedTarget: view.dom }));
  assert.equal(ofType(messages, "link").at(-1)!.mode, "leave");
  dovrin.runCommand("link:edit", {});
  assert.deepEqual([ofType(messages, "link").at(-1)!.mode, ofType(messages, "link").at(-1)!.href], ["edit", "https://two.example"]);
  dovrin.runCommand("link:cancel", {});
  assert.equal(dovrin.getMarkdown(), "See [one](https://one.example) and [two](https://two.example).");

  anchor.dispatchEvent(new MouseEvent("mouseover", { bubbles: true }));
  await pause(300);
  dovrin.runCommand("link:remove", {});
  assert.equal(dovrin.getMarkdown(), "See [one](https://one.example) and two.");

  // Ctrl-click asks the app to open the link.
  const first = view.dom.querySelector("a")!;
  first.dispatchEvent(new MouseEvent("mousedown", { bubbles: true, ctrlKey: true }));
  assert.deepEqual(ofType(messages, "openLink"), [{ type: "openLink", href: "https://one.example" }]);
  first.dispatchEvent(new MouseEvent("mousedown", { bubbles: true }));
  assert.equal(ofType(messages, "openLink").length, 1, "a plain click edits");
});
