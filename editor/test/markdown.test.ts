import assert from "node:assert/strict";
import { test } from "node:test";
import { normalizeMarkdown, parseMarkdown, serializeMarkdown } from "../src/markdown";
import { schema } from "../src/schema";

const roundTrip = (markdown: string) => serializeMarkdown(parseMarkdown(markdown));

// Every construct the editor writes comes back exactly as written.
const kept: Record<string, string> = {
  headings: "# One\n\n## Two\n\n### Three\n\n#### Four\n\n##### Five\n\n###### Six",
  "headings ending in #": "## C#\n\n## Issue \\#\n\n# \\#",
  paragraphs: "First paragraph\nwith a second line\n\nSecond paragraph",
  todos: "- [ ] open\n- [x] done\n  - [ ] nested open\n  - [x] nested done\n- [ ]",
  "numbered todos": "1. [ ] first\n2. [x] second\n3. [ ] third",
  bullets: "- one\n- two\n  - nested\n    - deeper\n- three",
  "other bullets": "* star\n* star\n\n+ plus",
  ordered: "1. one\n2. two\n   1. nested\n3. three",
  "ordered with parenthesis": "1) one\n2) two\n\n5. starts at five\n6. six",
  "loose list": "- one\n\n- two",
  quotes: "> quoted\n> still quoted\n>\n> - list in quote",
  "backtick fence": "```ts\nconst a = 1;\n\n// blank line above\n```",
  "tilde fence": "~~~\n```\nnot a fence\n```\n~~~",
  "long fence": "````md\n```\ninner\n```\n````",
  dividers: "Above\n\n---\n\n***\n\n___\n\nBelow",
  images: "![A cat](app://local/images/0f8fad5b-d9cb-469f-a165-70867728950e.png)\n\nText ![inline](app://local/images/a.jpg \"title\") after",
  links: "[a link](https://example.com) and <https://example.com/auto> and [titled](https://x.org \"T\")",
  marks: "**bold** *italic* ~~strike~~ `code` ***both*** ***~~all three~~*** **bold `code` inside**",
  "empty lines": "Top\n\n<br />\n\n<br />\n\nBottom",
  "hard break": "line\\\nnext",
  "html block": "<div align=\"center\">\n  <b>kept</b>\n</div>\n\nAfter",
  "inline html": "Press <kbd>Ctrl</kbd> now",
  "empty note": "",
  "escaped text": "\\# not a heading\n\n\\- not a list\n\n1\\. not a list\n\n\\> not a quote\n\n\\*not em\\* and \\[not a link\\]",
  "prose as typed": "About ~5 min, a * b, snake_case, C:\\Users, 3 < 4 & 5, 100% sure!",
};

test("markdown the editor writes survives a set-then-get unchanged", () => {
  for (const [name, markdown] of Object.entries(kept)) {
    assert.equal(roundTrip(markdown), markdown, name);
  }
});

test("other input is normalised once and then stays stable", () => {
  const normalised: Array<[string, string]> = [
    ["Title\n=====", "# Title"],
    ["Sub\n---", "## Sub"],
    ["    indented code", "```\nindented code\n```"],
    ["- [X] capital", "- [x] capital"],
    ["_italic_ __bold__", "*italic* **bold**"],
    ["line  \nbreak", "line\\\nbreak"],
    ["1. a\n1. b\n1. c", "1. a\n2. b\n3. c"],
    ["-   wide\n-   list", "- wide\n- list"],
    ["[ref][1]\n\n[1]: https://example.com", "[ref](https://example.com)"],
    ["&amp; &copy;", "& ©"],
    ["```\nunclosed fence", "```\nunclosed fence\n```"],
    ["<br>", ""],
    ["a\r\nb", "a\nb"],
  ];
  for (const [input, expected] of normalised) {
    assert.equal(normalizeMarkdown(input), expected, JSON.stringify(input));
    assert.equal(normalizeMarkdown(expected), expected, `stable: ${JSON.stringify(expected)}`);
  }
});

test("whatever the user types is read back as the same text", () => {
  const typed = [
    "# not a heading", "1. not a list", "1) not a list", "- x", "+ x", "* x", "> x", "---", "***", "___", "===",
    "--", "`code`", "**b**", "_i_", "~~s~~", "~", "a~", "~~~", "```", "[x](y)", "![a](b)", "<div>", "</p>",
    "<!-- c -->", "&amp;", "&#35;", "\\", "a\\", "C:\\path\\", "<br />", "[ ] x", "[x] y", "| a | b |",
    "    indented", "x  ", "Issue #", "#", "a_b_c", "*", "**", "_", "__", "1.", "http://x.y", "<http://x.y>",
    "a <b> c", "100%", "a * b * c", "snake_case_name", "2 * 3 = 6", "emoji ✦ 中文", "\\*", "x\\", "[", "]", "!",
  ];
  const blocks = (text: string) => [
    schema.node("paragraph", null, schema.text(text)),
    schema.node("heading", { level: 2 }, schema.text(text)),
    schema.node("bullet_list", null, schema.node("list_item", { checked: false }, schema.node("paragraph", null, schema.text(text)))),
    schema.node("blockquote", null, schema.node("paragraph", null, schema.text(text))),
  ];
  for (const text of typed) {
    for (const block of blocks(text)) {
      const markdown = serializeMarkdown(schema.node("doc", null, [block]));
      const back = parseMarkdown(markdown);
      assert.equal(back.childCount, 1, `${JSON.stringify(text)} in ${block.type.name} stays one block: ${markdown}`);
      assert.equal(back.firstChild!.type, block.type, `${JSON.stringify(text)}: ${markdown}`);
      assert.equal(back.textContent, text.trim(), `${JSON.stringify(text)} in ${block.type.name}: ${markdown}`);
    }
  }
});

test("link and image targets and titles are read back as set", () => {
  const targets = [
    "https://example.com/a_(b)", "https://example.com/a b", "app://local/images/0f8f.png", "dovrin://note/abc",
    "https://example.com/?a=1&b=2#x", "mailto:a@b.c", "https://example.com/<tag>", "relative/path.png", "a\\b",
  ];
  const titles = [null, "plain", 'with "quotes"', "it's"];
  for (const href of targets) {
    for (const title of titles) {
      const link = schema.text("label", [schema.marks.link.create({ href, title })]);
      const image = schema.node("image", { src: href, alt: "alt", title });
      const doc = schema.node("doc", null, [schema.node("paragraph", null, [link, schema.text(" "), image])]);
      const markdown = serializeMarkdown(doc);
      const back = parseMarkdown(markdown).firstChild!;
      const mark = back.firstChild?.marks.find((m) => m.type === schema.marks.link);
      assert.deepEqual([mark?.attrs.href, mark?.attrs.title], [href, title], markdown);
      const img = back.lastChild!;
      assert.deepEqual([img.type.name, img.attrs.src, img.attrs.title], ["image", href, title], markdown);
    }
  }
});

function words(text: string): string[] {
  return text.match(/[A-Za-z0-9]+/g) ?? [];
}

test("what the editor cannot represent survives as text", () => {
  const awkward = [
    "```js\nno closing fence\n\n# not a heading\n- not a list",
    "~~~\nunbalanced tilde\n```\nstill code",
    "<details>\n<summary>Open</summary>\n\nhidden *text*\n\n</details>",
    "<!-- a comment\nover lines -->\n\ntext",
    "| a | b |\n|---|---|\n| 1 | 2 |",
    "<script>alert(1)</script>\n\n<style>p{}</style>",
    "Footnote[^1]\n\n[^1]: the note",
    "---\ntitle: front matter\n---\n\nBody",
    "* * *\n- - -\n\n> > nested > quotes",
    "<div>\n\n**markdown inside html**\n\n</div>",
    "\u0000 binary \uFFFF junk \uD800 lone surrogate",
  ];
  for (const input of awkward) {
    const once = normalizeMarkdown(input);
    for (const word of words(input)) assert.ok(words(once).includes(word), `${JSON.stringify(input)} keeps ${word}`);
    assert.equal(normalizeMarkdown(once), once, `stable: ${JSON.stringify(input)}`);
  }
});

test("a 200 KB note is filled and written back whole", () => {
  const parts: string[] = [];
  for (let i = 0; parts.join("\n\n").length < 200_000; i++) {
    parts.push(
      `## Section ${i}`,
      `Paragraph ${i} with **bold**, *italic*, [a link](https://example.com/${i}) and \`code\`.`,
      `- [ ] task ${i}\n- [x] done ${i}\n  - nested ${i}`,
      `1. first ${i}\n2. second ${i}`,
      `> quote ${i}`,
      "```\ncode " + i + "\n```",
    );
  }
  const note = parts.join("\n\n");
  assert.ok(note.length >= 200_000);
  assert.equal(roundTrip(note), note);
});
