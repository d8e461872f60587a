import type { Node } from "prosemirror-model";
import { Plugin } from "prosemirror-state";
import type { EditorView } from "prosemirror-view";
import type { Post } from "./bridge";
import { schema } from "./schema";
import { takeSlashQuery } from "./slash";

function readFile(file: File): Promise<{ mime: string; data: string }> {
  return new Promise((resolve, reject) => {
    const reader = new FileReader();
    reader.onload = () => {
      const url = String(reader.result);
      resolve({ mime: file.type, data: url.slice(url.indexOf(",") + 1) });
    };
    reader.onerror = () => reject(reader.error);
    reader.readAsDataURL(file);
  });
}

function imageFiles(files: FileList | null | undefined): File[] {
  return Array.from(files ?? []).filter((file) => file.type.startsWith("image/"));
}

export function pendingImageIds(doc: Node): Set<number> {
  const ids = new Set<number>();
  doc.descendants((node) => {
    if (node.type === schema.nodes.image && node.attrs.pending !== null) ids.add(node.attrs.pending);
  });
  return ids;
}

export interface ImageStore {
  plugin: Plugin;
  insert(view: EditorView, mime: string, data: string, at?: number): void;
  stored(view: EditorView, id: number, url: unknown): void;
  // Images whose placeholder an AI merge replaced: they are appended to the note once stored.
  orphan(ids: Iterable<number>): void;
}

// Pasted, dropped and picked images are shown at once from their bytes while the app stores them; only
// the stored "app://local/images/…" URL ever reaches the Markdown.
export function imageStore(post: Post): ImageStore {
  let nextId = 1;
  const orphans = new Set<number>();

  const insert = (view: EditorView, mime: string, data: string, at?: number) => {
    const id = nextId++;
    const node = schema.nodes.image.create({ src: `data:${mime};base64,${data}`, alt: "", pending: id });
    const tr = view.state.tr;
    takeSlashQuery(view.state, tr);
    if (at === undefined) tr.replaceSelectionWith(node);
    else tr.insert(at, node);
    view.dispatch(tr.scrollIntoView());
    post({ type: "image", id, mime, data });
  };

  const insertFiles = (view: EditorView, files: File[], at?: number) => {
    for (const file of files) {
      readFile(file)
        .then(({ mime, data }) => insert(view, mime, data, at))
        .catch(() => undefined);
    }
  };

  const plugin = new Plugin({
    props: {
      handlePaste(view, event) {
        const files = imageFiles(event.clipboardData?.files);
        if (!files.length) return false;
        insertFiles(view, files);
        return true;
      },
      handleDrop(view, event) {
        const drag = event as DragEvent;
        const files = imageFiles(drag.dataTransfer?.files);
        if (!files.length) return false;
        insertFiles(view, files, view.posAtCoords({ left: drag.clientX, top: drag.clientY })?.pos);
        return true;
      },
    },
  });

  return {
    plugin,
    insert,
    stored(view, id, url) {
      const placed: Array<{ node: Node; pos: number }> = [];
      view.state.doc.descendants((node, pos) => {
        if (node.type === schema.nodes.image && node.attrs.pending === id) placed.push({ node, pos });
      });
      const tr = view.state.tr;
      const ok = typeof url === "string" && url !== "";
      if (!placed.length) {
        if (orphans.delete(id) && ok) {
          const image = schema.nodes.image.create({ src: url, alt: "" });
          view.dispatch(tr.insert(tr.doc.content.size, schema.nodes.paragraph.create(null, image)));
        }
        return;
      }
      for (const { node, pos } of placed.reverse()) {
        if (ok) tr.setNodeMarkup(pos, undefined, { ...node.attrs, src: url, pending: null });
        else tr.delete(pos, pos + node.nodeSize);
      }
      view.dispatch(tr);
    },
    orphan(ids) {
      for (const id of ids) orphans.add(id);
    },
  };
}
