import MarkdownIt from "markdown-it";
import type Token from "markdown-it/lib/token.mjs";
import { MarkdownParser, MarkdownSerializer, MarkdownSerializerState } from "prosemirror-markdown";
import { Fragment, type Mark, type MarkType, type Node } from "prosemirror-model";
import { schema } from "./schema";

// An empty paragraph is written as this line, so that blank lines the user made survive in Markdown.
export const EMPTY_LINE = "<br />";

const tokenizer = new MarkdownIt("default", { html: true, linkify: false, typographer: false });
// Tables are left to the text: written back as the user typed them rather than re-laid out.
tokenizer.disable("table");
// Keep link targets exactly as written instead of percent-encoding them.
tokenizer.normalizeLink = (url: string) => url;
tokenizer.normalizeLinkText = (url: string) => url;
tokenizer.validateLink = (url: string) => !/^\s*(javascript|vbscript):/i.test(url);

function listIsTight(tokens: Token[], i: number): boolean {
  while (++i < tokens.length) if (tokens[i].type !== "list_item_open") return tokens[i].hidden;
  return false;
}

const parser = new MarkdownParser(schema, tokenizer, {
  blockquote: { block: "blockquote" },
  paragraph: { block: "paragraph" },
  list_item: { block: "list_item", getAttrs: (tok) => ({ checked: tok.meta?.checked ?? null }) },
  bullet_list: {
    block: "bullet_list",
    getAttrs: (tok, tokens, i) => ({ tight: listIsTight(tokens, i), bullet: tok.markup || "-" }),
  },
  ordered_list: {
    block: "ordered_list",
    getAttrs: (tok, tokens, i) => ({
      order: Number(tok.attrGet("start")) || 1,
      tight: listIsTight(tokens, i),
      delimiter: tok.markup === ")" ? ")" : ".",
    }),
  },
  heading: { block: "heading", getAttrs: (tok) => ({ level: Number(tok.tag.slice(1)) }) },
  code_block: { block: "code_block", noCloseToken: true },
  fence: {
    block: "code_block",
    getAttrs: (tok) => ({ params: tok.info || "", fence: tok.markup || "```" }),
    noCloseToken: true,
  },
  raw_block: { block: "raw_block", noCloseToken: true },
  hr: { node: "horizontal_rule", getAttrs: (tok) => ({ markup: tok.markup || "---" }) },
  image: {
    node: "image",
    getAttrs: (tok) => ({ src: tok.attrGet("src") ?? "", title: tok.attrGet("title") || null, alt: tok.content }),
  },
  hardbreak: { node: "hard_break" },
  html_inline: { node: "html_inline", getAttrs: (tok) => ({ html: tok.content }) },
  em: { mark: "em" },
  strong: { mark: "strong" },
  s: { mark: "strike" },
  link: {
    mark: "link",
    getAttrs: (tok) => ({ href: tok.attrGet("href") ?? "", title: tok.attrGet("title") || null }),
  },
  code_inline: { mark: "code", noCloseToken: true },
});

const blockHandled = new Set([
  "paragraph_open", "paragraph_close", "heading_open", "heading_close", "blockquote_open", "blockquote_close",
  "bullet_list_open", "bullet_list_close", "ordered_list_open", "ordered_list_close", "list_item_open",
  "list_item_close", "code_block", "fence", "hr", "html_block", "inline", "raw_block",
]);
const inlineHandled = new Set([
  "text", "softbreak", "hardbreak", "em_open", "em_close", "strong_open", "strong_close", "s_open", "s_close",
  "code_inline", "link_open", "link_close", "image", "html_inline",
]);
const todoPrefix = /^\[([ xX])\](?=\s|$)\s?/;
const emptyLine = /^<br\s*\/?>$/i;

function makeToken(like: Token, type: string, nesting: 1 | 0 | -1): Token {
  const TokenClass = like.constructor as new (type: string, tag: string, nesting: 1 | 0 | -1) => Token;
  const token = new TokenClass(type, "", nesting);
  token.block = like.block;
  token.map = like.map;
  return token;
}

// Anything markdown-it knows but this editor does not becomes text of the same shape, never nothing.
function rewriteInline(children: Token[]): Token[] {
  const out: Token[] = [];
  for (const tok of children) {
    if (tok.type === "softbreak") {
      const text = makeToken(tok, "text", 0);
      text.content = "\n";
      out.push(text);
    } else if (tok.type === "text_special" || (!inlineHandled.has(tok.type) && tok.content)) {
      const text = makeToken(tok, "text", 0);
      text.content = tok.content;
      out.push(text);
    } else if (inlineHandled.has(tok.type)) {
      if (tok.type === "image" && tok.children) tok.children = rewriteInline(tok.children);
      out.push(tok);
    }
  }
  return out;
}

function stripTodoPrefix(inline: Token, length: number): void {
  let left = length;
  const children = inline.children ?? [];
  while (left > 0 && children.length && children[0].type === "text") {
    const first = children[0];
    if (first.content.length <= left) {
      left -= first.content.length;
      children.shift();
    } else {
      first.content = first.content.slice(left);
      left = 0;
    }
  }
}

function rewriteTokens(tokens: Token[]): Token[] {
  const out: Token[] = [];
  for (let i = 0; i < tokens.length; i++) {
    const tok = tokens[i];
    if (tok.type === "html_block") {
      const html = tok.content.replace(/\n$/, "");
      if (emptyLine.test(html.trim())) {
        const open = makeToken(tok, "paragraph_open", 1);
        const inline = makeToken(tok, "inline", 0);
        inline.children = [];
        out.push(open, inline, makeToken(tok, "paragraph_close", -1));
      } else {
        const raw = makeToken(tok, "raw_block", 0);
        raw.content = html;
        out.push(raw);
      }
      continue;
    }
    if (tok.type === "list_item_open") {
      // A to-do is a list item whose first paragraph starts with "[ ]" or "[x]" in the source.
      const para = tokens[i + 1];
      const inline = tokens[i + 2];
      const match = para?.type === "paragraph_open" && inline?.type === "inline" ? todoPrefix.exec(inline.content) : null;
      if (match) {
        tok.meta = { ...(tok.meta ?? {}), checked: match[1] !== " " };
        stripTodoPrefix(inline, match[0].length);
      }
    }
    if (tok.type === "inline") {
      tok.children = rewriteInline(tok.children ?? []);
      out.push(tok);
    } else if (blockHandled.has(tok.type)) {
      out.push(tok);
    } else if (tok.nesting === 0 && tok.content) {
      const raw = makeToken(tok, "raw_block", 0);
      raw.content = tok.content.replace(/\n$/, "");
      out.push(raw);
    }
    // Unknown wrappers are dropped but what they wrap is kept.
  }
  return out;
}

// markdown-it's parse is wrapped so the token stream can be adapted before ProseMirror sees it.
const parseTokens = tokenizer.parse.bind(tokenizer);
tokenizer.parse = (src: string, env: unknown) => rewriteTokens(parseTokens(src, env));

function rawDocument(markdown: string): Node {
  const lines = markdown.split(/\n{2,}/).filter((part) => part.length > 0);
  const blocks = lines.map((part) => schema.nodes.raw_block.create(null, schema.text(part)));
  return schema.nodes.doc.create(null, blocks.length ? blocks : [schema.nodes.paragraph.create()]);
}

// Blocks that came from Markdown already have marks that Markdown can say.
const parsedBlocks = new WeakSet<Node>();

export function parseMarkdown(markdown: string): Node {
  const text = typeof markdown === "string" ? markdown.replace(/\r\n?/g, "\n") : "";
  try {
    const doc = parser.parse(text);
    doc.forEach((block) => parsedBlocks.add(block));
    return doc.childCount ? doc : schema.nodes.doc.create(null, schema.nodes.paragraph.create());
  } catch {
    // Never lose what could not be understood: keep it verbatim.
    return rawDocument(text);
  }
}

// Nothing that would be read back: no text but spaces, and no images except those still being stored.
function isEmptyParagraph(node: Node): boolean {
  let empty = true;
  node.forEach((child) => {
    const blank = child.isText ? !/\S/.test(child.text ?? "") : child.type === schema.nodes.image && child.attrs.pending !== null;
    if (!blank) empty = false;
  });
  return empty;
}

function destination(url: string): string {
  if (/[\s<>]/.test(url) || url === "") return "<" + url.replace(/[<>\\]/g, "\\$&") + ">";
  return url.replace(/[()\\]/g, "\\$&");
}

function title(value: string | null): string {
  return value ? ' "' + value.replace(/["\\]/g, "\\$&") + '"' : "";
}

function longestRunAtLineStart(text: string, char: string): number {
  let longest = 0;
  for (const line of text.split("\n")) {
    const match = new RegExp("^ {0,3}(\\" + char + "+)").exec(line);
    if (match) longest = Math.max(longest, match[1].length);
  }
  return longest;
}

// A tight list can only hold items whose later blocks are lists: any other block needs a blank line
// before it, which makes Markdown read the whole list as loose. Such a list is written loose.
function writtenList(list: Node): Node {
  if (!list.attrs.tight) return list;
  let simple = true;
  list.forEach((item) =>
    item.forEach((child, _offset, i) => {
      if (i > 0 && child.type !== schema.nodes.bullet_list && child.type !== schema.nodes.ordered_list) simple = false;
    }),
  );
  return simple ? list : list.type.create({ ...list.attrs, tight: false }, list.content);
}

// Two lists of the same kind in a row would be read back as one list unless their markers differ, so
// the second one takes the other marker. (The serializer's own answer, two blank lines, no longer
// separates lists in CommonMark.)
function listMarker(state: MarkdownSerializerState, parent: Node, index: number, attr: string, pair: string[]): string {
  let first = index;
  while (first > 0 && parent.child(first - 1).type === parent.child(index).type) first--;
  let marker = "";
  for (let i = first; i <= index; i++) {
    const own: string = parent.child(i).attrs[attr] || pair[0];
    marker = i > first && own === marker ? (own === pair[0] ? pair[1] : pair[0]) : own;
  }
  const internal = internals(state);
  if (internal.closed?.type === parent.child(index).type) internal.flushClose(2);
  return marker;
}

// Spaces at the end of a paragraph or heading are not read back; writing them would only make the
// text differ from what it reads back as.
function trimLineEnd(state: MarkdownSerializerState): void {
  const internal = internals(state);
  internal.out = internal.out.replace(/(^|[^\\])[ \t]+$/, "$1");
}

function isPlainUrl(link: Mark, parent: Node, index: number): boolean {
  if (link.attrs.title || !/^\w+:/.test(link.attrs.href)) return false;
  const content = parent.child(index);
  if (!content.isText || content.text !== link.attrs.href || content.marks[content.marks.length - 1] !== link) return false;
  return index === parent.childCount - 1 || !link.isInSet(parent.child(index + 1).marks);
}

const serializer = new MarkdownSerializer(
  {
    blockquote(state, node) {
      state.wrapBlock("> ", null, node, () => state.renderContent(node));
    },
    code_block(state, node) {
      const char = node.attrs.fence?.[0] === "~" ? "~" : "`";
      const length = Math.max(3, node.attrs.fence?.length ?? 3, longestRunAtLineStart(node.textContent, char) + 1);
      const fence = char.repeat(length);
      state.write(fence + (node.attrs.params || "") + "\n");
      state.text(node.textContent, false);
      state.ensureNewLine();
      state.write(fence);
      state.closeBlock(node);
    },
    raw_block(state, node) {
      state.text(node.textContent, false);
      state.closeBlock(node);
    },
    heading(state, node) {
      state.write("#".repeat(node.attrs.level) + " ");
      const internal = internals(state);
      const start = internal.out.length;
      const spilled = (state as NoteSerializerState).spills;
      state.renderInline(node, false);
      // A run of "#" that ends the title after a space would be read back as the closing sequence.
      const whole = (state as NoteSerializerState).spills === spilled;
      const title = whole ? internal.out.slice(start) : internal.out;
      const kept = internal.out.slice(0, internal.out.length - title.length);
      internal.out = kept + title.replace(whole ? /(^|[ \t])(#+)[ \t]*$/ : /([ \t])(#+)[ \t]*$/, "$1\\$2");
      trimLineEnd(state);
      state.closeBlock(node);
    },
    horizontal_rule(state, node) {
      state.write(node.attrs.markup || "---");
      state.closeBlock(node);
    },
    bullet_list(state, node, parent, index) {
      const bullet = listMarker(state, parent, index, "bullet", ["-", "*"]);
      state.renderList(writtenList(node), "  ", () => bullet + " ");
    },
    ordered_list(state, node, parent, index) {
      const start: number = node.attrs.order ?? 1;
      const delimiter = listMarker(state, parent, index, "delimiter", [".", ")"]);
      const width = String(start + node.childCount - 1).length;
      state.renderList(writtenList(node), " ".repeat(width + 2), (i) => String(start + i) + delimiter + " ");
    },
    list_item(state, node) {
      if (node.attrs.checked !== null) {
        const box = node.attrs.checked ? "[x]" : "[ ]";
        const blank = node.childCount === 1 && isEmptyParagraph(node.firstChild!);
        state.write(blank ? box : box + " ");
      }
      state.renderContent(node);
    },
    paragraph(state, node, parent) {
      if (isEmptyParagraph(node)) {
        const alone = parent.childCount === 1 && (parent.type === schema.nodes.list_item || parent.type === schema.nodes.doc);
        if (!alone) state.write(EMPTY_LINE);
      } else {
        state.renderInline(node);
        trimLineEnd(state);
      }
      state.closeBlock(node);
    },
    image(state, node) {
      if (node.attrs.pending !== null) return;
      state.write("![");
      state.text(node.attrs.alt || "", false);
      state.write("](" + destination(node.attrs.src) + title(node.attrs.title) + ")");
    },
    hard_break(state, node, parent, index) {
      for (let i = index + 1; i < parent.childCount; i++) {
        if (parent.child(i).type !== node.type) {
          state.write("\\\n");
          return;
        }
      }
    },
    html_inline(state, node) {
      state.text(node.attrs.html, false);
    },
    text(state, node) {
      state.text(node.text ?? "", !internals(state).inAutolink);
    },
  },
  {
    em: { open: "*", close: "*", mixable: true, expelEnclosingWhitespace: true },
    strong: { open: "**", close: "**", mixable: true, expelEnclosingWhitespace: true },
    strike: { open: "~~", close: "~~", mixable: true, expelEnclosingWhitespace: true },
    link: {
      open(state, mark, parent, index) {
        const autolink = isPlainUrl(mark, parent, index);
        internals(state).inAutolink = autolink;
        // A "!" just before the link would make it an image, unless it is escaped (an odd number of
        // backslashes before it).
        const internal = internals(state);
        const bang = /(\\*)!$/.exec(internal.out);
        if (!autolink && bang && bang[1].length % 2 === 0) internal.out = internal.out.slice(0, -1) + "\\!";
        return autolink ? "<" : "[";
      },
      close(state, mark) {
        const autolink = internals(state).inAutolink;
        internals(state).inAutolink = undefined;
        return autolink ? ">" : "](" + destination(mark.attrs.href) + title(mark.attrs.title) + ")";
      },
      mixable: true,
    },
    code: {
      open: (_state, _mark, parent, index) => backticksFor(parent.child(index), -1),
      close: (_state, _mark, parent, index) => backticksFor(parent.child(index - 1), 1),
      escape: false,
    },
  },
);

function backticksFor(node: Node, side: number): string {
  let longest = 0;
  if (node.isText) for (const run of (node.text ?? "").match(/`+/g) ?? []) longest = Math.max(longest, run.length);
  const ticks = "`".repeat(longest + 1);
  const pad = longest > 0 || /^ .* $/.test(node.text ?? "") ? " " : "";
  return side < 0 ? ticks + pad : pad + ticks;
}

// Fields of the serializer state that its type declarations keep internal.
interface StateInternals {
  out: string;
  closed: Node | null;
  flushClose(size: number): void;
  delim: string;
  inAutolink: boolean | undefined;
}

function internals(state: MarkdownSerializerState): StateInternals {
  return state as unknown as StateInternals;
}

const punctuation = /[!-/:-@[-`{-~]/;

// Escapes only what would otherwise change meaning, so that ordinary prose ("~5 min", "a * b",
// "C:\Users") is written as typed.
function escapeText(state: MarkdownSerializerState, str: string, startOfLine: boolean): string {
  let out = "";
  const { out: written, delim } = internals(state);
  // The start of the output is the start of a line, as it is after any earlier block.
  const before = written === "" ? "\n" : written.slice(-1);
  // Spaces that end the text are dropped when read back, so a character before them counts as last.
  const solidEnd = str.search(/[ \t]*$/);
  for (let i = 0; i < str.length; i++) {
    const c = str[i];
    const prev = i > 0 ? str[i - 1] : before;
    const next = i + 1 >= solidEnd ? "" : str[i + 1];
    switch (c) {
      case "\\":
        out += next === "" || punctuation.test(next) ? "\\\\" : c;
        break;
      case "*":
      case "_": {
        const spaced = /\s/.test(prev || " ") && /\s/.test(next || " ") && prev !== "" && next !== "";
        const intraword = c === "_" && /[\p{L}\p{N}]/u.test(prev) && /[\p{L}\p{N}]/u.test(next);
        out += spaced || intraword ? c : "\\" + c;
        break;
      }
      case "~":
        out += prev === "~" || next === "~" || next === "" ? "\\~" : c;
        break;
      case "`":
      case "[":
      case "]":
        out += "\\" + c;
        break;
      case "<":
        out += /[A-Za-z/!?]/.test(next) ? "\\<" : c;
        break;
      case "&":
        out += /^&(#[0-9]{1,7}|#[xX][0-9a-fA-F]{1,6}|[A-Za-z][A-Za-z0-9]{1,31});/.test(str.slice(i)) ? "\\&" : c;
        break;
      default:
        out += c;
    }
  }
  const line = written.slice(written.lastIndexOf("\n") + 1);
  // The title of a heading starts after its marker; spaces there would not be read back.
  if (/^#{1,6} $/.test(line.slice(delim.length)) || /^#{1,6} $/.test(line.replace(/^\s*(?:[-+*]|\d+[.)])\s(?:\[[ x]\] )?/, ""))) {
    out = out.replace(/^[ \t]+/, "");
  }
  if (startOfLine || line === delim) {
    out = out
      .replace(/^[ \t]+/, "")
      .replace(/^([-+*])(?=[ \t]|$)/, "\\$1")
      .replace(/^([-*_])(?=(?:[ \t]*\1){2,}[ \t]*$)/, "\\$1")
      .replace(/^>/, "\\>")
      .replace(/^(#{1,6})(?=[ \t]|$)/, "\\$1")
      .replace(/^(\d{1,9})([.)])(?=[ \t]|$)/, "$1\\$2")
      .replace(/^(?=[-=]+[ \t]*$)/, "\\");
  }
  return out;
}

// The serializer only ever looks at the end of its output, and reading the end of a long string that is
// being appended to makes V8 flatten it each time (quadratic for a large note). So the written text is
// moved aside in chunks and only a short tail stays in `out`.
const tailLength = 256;
const spillLength = 8192;

class NoteSerializerState extends (MarkdownSerializerState as unknown as new (
  nodes: MarkdownSerializer["nodes"],
  marks: MarkdownSerializer["marks"],
  options: { tightLists: boolean },
) => MarkdownSerializerState) {
  private readonly chunks: string[] = [];
  // How often the written text was moved aside; a heading compares it to know what `out` still holds.
  spills = 0;

  override esc(str: string, startOfLine = false): string {
    return escapeText(this, str, startOfLine);
  }

  override write(content?: string): void {
    super.write(content);
    const state = internals(this);
    if (state.out.length > spillLength) {
      this.chunks.push(state.out.slice(0, -tailLength));
      this.spills++;
      state.out = state.out.slice(-tailLength);
    }
  }

  result(): string {
    return this.chunks.join("") + internals(this).out;
  }
}

function serializeWhole(doc: Node): string {
  const state = new NoteSerializerState(serializer.nodes, serializer.marks, { tightLists: true });
  state.renderContent(doc);
  return state.result();
}

// Top-level blocks are immutable and shared between versions of the document, so the Markdown of each is
// kept and only changed blocks are written again: "changed" stays cheap while typing in a long note.
const blockCache = new WeakMap<Node, string>();

function renderBlock(block: Node): string {
  const state = new NoteSerializerState(serializer.nodes, serializer.marks, { tightLists: true });
  state.render(block, schema.nodes.doc.create(null, block), 0);
  return state.result();
}

const delimited: MarkType[] = [schema.marks.em, schema.marks.strong, schema.marks.strike];

function hasDelimitedMarks(block: Node): boolean {
  let found = false;
  block.descendants((node) => {
    if (node.marks.some((mark) => delimited.includes(mark.type))) found = true;
    return !found;
  });
  return found;
}

function withoutMarks(node: Node, types: MarkType[]): Node {
  if (node.isText) return node.mark(node.marks.filter((mark) => !types.includes(mark.type)));
  if (node.isLeaf) return node;
  const children: Node[] = [];
  node.forEach((child) => children.push(withoutMarks(child, types)));
  return node.copy(Fragment.from(children));
}

const squash = (text: string) => text.replace(/\s+/g, "");

function readsBackAsWritten(block: Node): boolean {
  return squash(parseMarkdown(renderBlock(block)).textContent) === squash(block.textContent);
}

// Emphasis and strikethrough can only open and close where CommonMark's flanking rules let them (not,
// for example, between a letter and a bracket). Formatting that cannot be written is left out, one kind
// after another, rather than reappearing as stray asterisks or tildes in the text.
const writableBlocks = new WeakMap<Node, Node>();

function writable(block: Node): Node {
  let result = writableBlocks.get(block);
  if (result) return result;
  result = block;
  if (!parsedBlocks.has(block) && hasDelimitedMarks(block) && !readsBackAsWritten(block)) {
    const candidates = delimited.map((type) => withoutMarks(block, [type]));
    result = candidates.find(readsBackAsWritten) ?? withoutMarks(block, delimited);
  }
  writableBlocks.set(block, result);
  return result;
}

export function serializeMarkdown(given: Node): string {
  const blocks: Node[] = [];
  given.forEach((block) => blocks.push(writable(block)));
  const doc = blocks.every((block, i) => block === given.child(i)) ? given : given.copy(Fragment.from(blocks));
  const parts: string[] = [];
  let whole = false;
  doc.forEach((block, _offset, index) => {
    if (whole) return;
    const previous = index > 0 ? doc.child(index - 1) : null;
    const dependsOnNeighbours =
      (block.type === schema.nodes.paragraph && isEmptyParagraph(block)) ||
      ((block.type === schema.nodes.bullet_list || block.type === schema.nodes.ordered_list) && previous?.type === block.type);
    let text = dependsOnNeighbours ? undefined : blockCache.get(block);
    if (text === undefined) {
      const state = new NoteSerializerState(serializer.nodes, serializer.marks, { tightLists: true });
      state.render(block, doc, index);
      text = state.result();
      if (!dependsOnNeighbours) blockCache.set(block, text);
    }
    // Blocks that write nothing or end in a line break change the spacing around them; leave those
    // rare documents to the serializer as a whole.
    if (text === "" || text.endsWith("\n")) whole = true;
    parts.push(text);
  });
  return whole ? serializeWhole(doc) : parts.join("\n\n");
}

// The form the editor writes for a text: what getMarkdown would answer after setMarkdown(text).
export function normalizeMarkdown(markdown: string): string {
  return serializeMarkdown(parseMarkdown(markdown));
}
