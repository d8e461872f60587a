import { hostPost } from "./bridge";
import { createEditor } from "./editor";
import "./styles.css";

// Running every part of the editor once before "ready" moves the first-call cost out of the moment a
// sticky opens: ready pages wait in the app's pool, the note is filled when the user asks for it.
const warmUp = "# Note\n\n- [ ] to do\n- [x] **done**\n\n1. *one*\n\n> [link](https://example.com) `code` ~~old~~\n\n```\ncode\n```";

const post = hostPost();
const mount = document.getElementById("editor") ?? document.body;
const { dovrin } = createEditor(mount, post);
dovrin.setMarkdown(warmUp);
dovrin.getMarkdown();
dovrin.setMarkdown("");
(window as unknown as { dovrin: typeof dovrin }).dovrin = dovrin;
post({ type: "ready", msSinceNavigation: Math.round(performance.now()) });
