import { type DOMOutputSpec, type Node, Schema } from "prosemirror-model";
import { text } from "./texts";

// Pictures the app serves and inline ones. Anything else (http:, https:, //host, a relative path…) is not
// loaded: a note an AI wrote must not make the editor tell a server that the note was opened.
function isLocalImage(src: string): boolean {
  return /^(app|data|blob):/i.test(src);
}

// An image that is not loaded shows as its alt text in a small box; its attributes stay on the box, so a
// copy of it pastes back as the same image.
function imageDOM(node: Node): DOMOutputSpec {
  const { src, alt, title } = node.attrs;
  if (isLocalImage(src)) return ["img", { src, alt, title }];
  const label = alt || text("image");
  return [
    "span",
    {
      class: "remote-image",
      role: "img",
      "aria-label": label,
      title: text("remoteImage"),
      "data-src": src,
      "data-alt": alt,
      "data-title": title,
    },
    label,
  ];
}

// The document model mirrors what the note's Markdown can say; anything else is kept as raw text
// (raw_block, html_inline) so that nothing an AI or the user wrote is ever dropped.
export const schema = new Schema({
  nodes: {
    doc: { content: "block+" },
    paragraph: {
      content: "inline*",
      group: "block",
      parseDOM: [{ tag: "p" }],
      toDOM: () => ["p", 0],
    },
    heading: {
      attrs: { level: { default: 1 } },
      content: "(text | image | html_inline)*",
      group: "block",
      defining: true,
      parseDOM: [1, 2, 3, 4, 5, 6].map((level) => ({ tag: `h${level}`, attrs: { level } })),
      toDOM: (node) => [`h${node.attrs.level}`, 0],
    },
    blockquote: {
      content: "block+",
      group: "block",
      defining: true,
      parseDOM: [{ tag: "blockquote" }],
      toDOM: () => ["blockquote", 0],
    },
    horizontal_rule: {
      attrs: { markup: { default: "---" } },
      group: "block",
      parseDOM: [{ tag: "hr" }],
      toDOM: () => ["div", { class: "divider" }, ["hr"]],
    },
    code_block: {
      attrs: { params: { default: "" }, fence: { default: "```" } },
      content: "text*",
      marks: "",
      group: "block",
      code: true,
      defining: true,
      parseDOM: [{ tag: "pre", preserveWhitespace: "full" }],
      toDOM: (node) => ["pre", node.attrs.params ? { "data-lang": node.attrs.params } : {}, ["code", 0]],
    },
    raw_block: {
      content: "text*",
      marks: "",
      group: "block",
      code: true,
      defining: true,
      parseDOM: [{ tag: "pre.raw", preserveWhitespace: "full", priority: 60 }],
      toDOM: () => ["pre", { class: "raw" }, 0],
    },
    bullet_list: {
      attrs: { tight: { default: true }, bullet: { default: "-" } },
      content: "list_item+",
      group: "block",
      parseDOM: [{ tag: "ul" }],
      toDOM: () => ["ul", 0],
    },
    ordered_list: {
      attrs: { order: { default: 1 }, tight: { default: true }, delimiter: { default: "." } },
      content: "list_item+",
      group: "block",
      parseDOM: [
        {
          tag: "ol",
          getAttrs: (dom) => ({ order: Number((dom as HTMLElement).getAttribute("start") ?? 1) || 1 }),
        },
      ],
      toDOM: (node) => ["ol", node.attrs.order === 1 ? {} : { start: node.attrs.order }, 0],
    },
    list_item: {
      // checked: null for a plain item, false or true for a to-do.
      attrs: { checked: { default: null } },
      content: "block+",
      defining: true,
      parseDOM: [
        {
          tag: "li",
          getAttrs: (dom) => {
            const value = (dom as HTMLElement).getAttribute("data-checked");
            return { checked: value === null ? null : value === "true" };
          },
        },
      ],
      toDOM: (node) =>
        node.attrs.checked === null
          ? ["li", 0]
          : ["li", { class: "todo", "data-checked": String(node.attrs.checked) }, 0],
    },
    text: { group: "inline" },
    image: {
      // pending: the id of an image the app is still storing; such images are not part of the Markdown yet.
      attrs: { src: { default: "" }, alt: { default: "" }, title: { default: null }, pending: { default: null } },
      inline: true,
      group: "inline",
      draggable: true,
      parseDOM: [
        {
          tag: "img[src]",
          getAttrs: (dom) => {
            const img = dom as HTMLElement;
            return { src: img.getAttribute("src"), alt: img.getAttribute("alt") ?? "", title: img.getAttribute("title") };
          },
        },
        {
          tag: "span.remote-image[data-src]",
          getAttrs: (dom) => {
            const box = dom as HTMLElement;
            return { src: box.dataset.src, alt: box.dataset.alt ?? "", title: box.dataset.title ?? null };
          },
        },
      ],
      toDOM: imageDOM,
    },
    hard_break: {
      inline: true,
      group: "inline",
      selectable: false,
      parseDOM: [{ tag: "br" }],
      toDOM: () => ["br"],
    },
    html_inline: {
      attrs: { html: { default: "" } },
      inline: true,
      group: "inline",
      atom: true,
      toDOM: (node) => ["span", { class: "raw-inline" }, node.attrs.html],
    },
  },
  marks: {
    em: {
      parseDOM: [{ tag: "i" }, { tag: "em" }, { style: "font-style=italic" }],
      toDOM: () => ["em", 0],
    },
    strong: {
      parseDOM: [{ tag: "strong" }, { tag: "b" }],
      toDOM: () => ["strong", 0],
    },
    strike: {
      parseDOM: [{ tag: "s" }, { tag: "del" }, { tag: "strike" }],
      toDOM: () => ["s", 0],
    },
    link: {
      attrs: { href: {}, title: { default: null } },
      inclusive: false,
      parseDOM: [
        {
          tag: "a[href]",
          getAttrs: (dom) => ({
            href: (dom as HTMLElement).getAttribute("href"),
            title: (dom as HTMLElement).getAttribute("title"),
          }),
        },
      ],
      toDOM: (mark) => ["a", { href: mark.attrs.href, title: mark.attrs.title }, 0],
    },
    code: {
      parseDOM: [{ tag: "code" }],
      toDOM: () => ["code", 0],
    },
  },
});
