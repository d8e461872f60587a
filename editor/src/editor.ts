import { history } from "prosemirror-history";
import { type Node, Slice } from "prosemirror-model";
import { EditorState, Selection, type Transaction } from "prosemirror-state";
import { EditorView } from "prosemirror-view";
import { applyDocument } from "./apply";
import { blockCommands, markCommands } from "./blocks";
import type { Post } from "./bridge";
import { imageStore, pendingImageIds } from "./images";
import { editingPlugins } from "./keys";
import { linkEditing } from "./links";
import { normalizeMarkdown, parseMarkdown, serializeMarkdown } from "./markdown";
import { merge3 } from "./merge";
import { applyColor } from "./palette";
import { placeholder } from "./placeholder";
import { schema } from "./schema";
import { selectionReport } from "./selectionReport";
import { slashKey, slashPlugin, takeSlashQuery } from "./slash";
import { text } from "./texts";
import { ListItemView } from "./todo";

export interface MergeAnswer {
  status: "applied" | "conflict" | "error";
  markdown?: string;
  reason?: string;
}

export interface Dovrin {
  getMarkdown(): string;
  setMarkdown(markdown: unknown): void;
  setColor(color: unknown): void;
  focus(): boolean;
  applyExternalMarkdown(args: unknown): MergeAnswer | Promise<MergeAnswer>;
  imageStored(id: unknown, url: unknown): void;
  runCommand(id: unknown, arg?: unknown): void;
  insertImageFile(args: unknown): void;
}

export interface EditorHandle {
  dovrin: Dovrin;
  view: EditorView;
  flush(): void;
}

// User edits are reported this long after the last keystroke, at least this often while typing goes
// on, and at once when the page loses focus.
export const changeDelay = 120;
const changeMaxWait = 1000;

// Transactions the app caused (fill, AI merge) are not the user's edits and are not reported back.
const external = "dovrinExternal";

export function createEditor(mount: HTMLElement, post: Post): EditorHandle {
  let lastMarkdown = "";
  let changeTimer: ReturnType<typeof setTimeout> | undefined;
  let pendingSince = 0;

  const flush = () => {
    if (changeTimer !== undefined) clearTimeout(changeTimer);
    changeTimer = undefined;
    pendingSince = 0;
    const markdown = serializeMarkdown(view.state.doc);
    if (markdown === lastMarkdown) return;
    lastMarkdown = markdown;
    post({ type: "changed", markdown });
  };

  const scheduleChanged = () => {
    if (changeTimer !== undefined) clearTimeout(changeTimer);
    const now = Date.now();
    if (!pendingSince) pendingSince = now;
    changeTimer = setTimeout(flush, Math.max(0, Math.min(changeDelay, pendingSince + changeMaxWait - now)));
  };

  const links = linkEditing(post);
  const images = imageStore(post);

  const plugins = [
    slashPlugin(post),
    ...editingPlugins(links.edit),
    history(),
    links.plugin,
    images.plugin,
    selectionReport(post),
    placeholder(),
  ];

  const makeState = (doc: Node) => EditorState.create({ doc, plugins, selection: Selection.atEnd(doc) });

  const view: EditorView = new EditorView(mount, {
    state: makeState(parseMarkdown("")),
    nodeViews: {
      list_item: (node, editorView, getPos) => new ListItemView(node, editorView, getPos),
    },
    dispatchTransaction(tr: Transaction) {
      view.updateState(view.state.apply(tr));
      if (tr.docChanged && !tr.getMeta(external)) scheduleChanged();
    },
    // Plain text on the clipboard is Markdown both ways, so notes copy into AI chats and back intact.
    clipboardTextSerializer(slice) {
      const doc = schema.nodes.doc.createAndFill(null, slice.content);
      return doc ? serializeMarkdown(doc) : slice.content.textBetween(0, slice.content.size, "\n\n");
    },
    clipboardTextParser(textValue, $context, plain) {
      if (plain || $context.parent.type.spec.code) {
        return new Slice(schema.nodes.doc.create(null, schema.nodes.paragraph.create(null, textValue ? schema.text(textValue) : null)).content, 1, 1);
      }
      const doc = parseMarkdown(textValue);
      return Slice.maxOpen(doc.content);
    },
    handleDOMEvents: {
      blur() {
        flush();
        return false;
      },
    },
  });

  function mergeExternal(args: unknown): MergeAnswer {
    try {
      const { markdown, base } = (args ?? {}) as { markdown?: unknown; base?: unknown };
      if (typeof markdown !== "string") return { status: "error", reason: "markdown must be a string" };
      if (typeof base !== "string") return { status: "error", reason: "base must be a string" };
      // The user's own typing is reported first, so that it is saved as theirs and not as the AI's.
      flush();
      const ours = serializeMarkdown(view.state.doc);
      // Each side is compared in the editor's own form; texts already in that form are not parsed again.
      const theirsDoc = parseMarkdown(markdown);
      const theirs = serializeMarkdown(theirsDoc);
      const result = merge3(base === ours ? ours : normalizeMarkdown(base), ours, theirs);
      if (!result.ok) return { status: "conflict", reason: result.reason };
      const pending = pendingImageIds(view.state.doc);
      const tr = applyDocument(view.state, result.text === theirs ? theirsDoc : parseMarkdown(result.text));
      tr.setMeta(external, true).setMeta("addToHistory", false);
      view.dispatch(tr);
      const kept = pendingImageIds(view.state.doc);
      images.orphan([...pending].filter((id) => !kept.has(id)));
      lastMarkdown = serializeMarkdown(view.state.doc);
      return { status: "applied", markdown: lastMarkdown };
    } catch (error) {
      return { status: "error", reason: `editor error: ${error instanceof Error ? error.message : String(error)}` };
    }
  }

  function afterComposition(): Promise<void> {
    return new Promise((resolve) => {
      const done = () => {
        clearTimeout(timer);
        view.dom.removeEventListener("compositionend", done);
        setTimeout(resolve, 20);
      };
      const timer = setTimeout(done, 2000);
      view.dom.addEventListener("compositionend", done);
    });
  }

  const dovrin: Dovrin = {
    getMarkdown: () => serializeMarkdown(view.state.doc),

    setMarkdown(markdown) {
      if (typeof markdown !== "string") return;
      flush();
      view.updateState(makeState(parseMarkdown(markdown)));
      lastMarkdown = serializeMarkdown(view.state.doc);
    },

    setColor(color) {
      applyColor(document.documentElement, color);
    },

    focus() {
      view.focus();
      return view.hasFocus();
    },

    applyExternalMarkdown(args) {
      // Changing the document under an input method's composition would break what the user is typing;
      // the app awaits the answer, so the merge waits for the composition to end (at most 2 s).
      if (view.composing) return afterComposition().then(() => mergeExternal(args));
      return mergeExternal(args);
    },

    imageStored(id, url) {
      if (typeof id === "number") images.stored(view, id, url);
    },

    runCommand(id, arg) {
      if (typeof id !== "string") return;
      if (id === "slash:close") {
        view.dispatch(view.state.tr.setMeta(slashKey, { close: true }));
        return;
      }
      const block = blockCommands[id];
      if (block) {
        const tr = view.state.tr;
        takeSlashQuery(view.state, tr);
        view.dispatch(tr);
        block(view.state, view.dispatch);
        view.focus();
        return;
      }
      const mark = markCommands[id];
      if (mark) {
        mark(view.state, view.dispatch);
        view.focus();
        return;
      }
      if (id === "link:edit") links.edit(view.state, view.dispatch, view);
      else if (id === "link:set") {
        const href = (arg as { href?: unknown } | null)?.href;
        links.set(view, typeof href === "string" ? href.trim() : "");
      } else if (id === "link:remove") links.remove(view);
      else if (id === "link:cancel") links.cancel(view);
    },

    insertImageFile(args) {
      const { mime, data } = (args ?? {}) as { mime?: unknown; data?: unknown };
      if (typeof mime !== "string" || !mime.startsWith("image/") || typeof data !== "string" || !data) return;
      images.insert(view, mime, data);
    },
  };

  document.addEventListener("visibilitychange", () => {
    if (document.visibilityState === "hidden") flush();
  });
  window.addEventListener("pagehide", flush);
  // The app may set the page's language after the page has drawn its texts.
  new MutationObserver(() => {
    view.updateState(view.state);
    for (const box of view.dom.querySelectorAll("li.todo > input")) box.setAttribute("aria-label", text("todo"));
    for (const box of view.dom.querySelectorAll<HTMLElement>(".remote-image")) {
      box.title = text("remoteImage");
      if (!box.dataset.alt) box.textContent = text("image");
      box.setAttribute("aria-label", box.textContent ?? "");
    }
  }).observe(document.documentElement, {
    attributes: true,
    attributeFilter: ["lang"],
  });

  lastMarkdown = serializeMarkdown(view.state.doc);
  return { dovrin, view, flush };
}
