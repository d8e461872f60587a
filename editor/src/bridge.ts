export type Message = { type: string } & Record<string, unknown>;
export type Post = (message: Message) => void;

interface Handler {
  postMessage(body: unknown): void;
}

function handler(): Handler | undefined {
  return (window as unknown as { webkit?: { messageHandlers?: { dovrin?: Handler } } }).webkit?.messageHandlers
    ?.dovrin;
}

// The host's handler may appear after the page's first messages (it is wired up asynchronously), so
// messages wait in order until it exists.
export function hostPost(): Post {
  const queue: Message[] = [];
  let timer: ReturnType<typeof setTimeout> | undefined;
  const drain = () => {
    timer = undefined;
    const target = handler();
    if (!target) {
      timer = setTimeout(drain, 20);
      return;
    }
    while (queue.length) target.postMessage(queue.shift());
  };
  return (message) => {
    queue.push(message);
    if (timer === undefined) drain();
  };
}
