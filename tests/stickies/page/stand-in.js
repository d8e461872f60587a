'use strict';
const post = (body) => window.webkit.messageHandlers.dovrin.postMessage(body);
let color = 'yellow';
window.dovrin = {
    getMarkdown: () => document.getElementById('text').value,
    setMarkdown: (markdown) => { document.getElementById('text').value = markdown; },
    setColor: (name) => { color = name; },
    color: () => color,
    focus: () => { document.getElementById('text').focus(); return document.hasFocus(); },
    fail: async () => { throw new TypeError('asked to fail'); },
    later: (ms, value) => new Promise((resolve) => setTimeout(() => resolve(value), ms)),
    never: () => new Promise(() => {}),
};
window.addEventListener('DOMContentLoaded', () => {
    document.getElementById('text').addEventListener('input', (event) => {
        post({ type: 'changed', markdown: event.target.value });
    });
    post({ type: 'ready', msSinceNavigation: Math.round(performance.now()) });
});
