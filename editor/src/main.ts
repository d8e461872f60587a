import { hostPost } from "./bridge";
import { createEditor } from "./editor";
import "./styles.css";

const post = hostPost();
const mount = document.getElementById("editor") ?? document.body;
const { dovrin } = createEditor(mount, post);
(window as unknown as { dovrin: typeof dovrin }).dovrin = dovrin;
post({ type: "ready", msSinceNavigation: Math.round(performance.now()) });
