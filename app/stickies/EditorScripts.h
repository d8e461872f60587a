#pragma once

// The scripts the app runs in an editor page, word for word; EditorPage::call supplies their arguments.
namespace Dovrin::Stickies::EditorScripts {

// markdown (string), color (color name), focus (Boolean) → { markdown, focused }
inline constexpr const char* fill =
    "dovrin.setColor(color);\n"
    "if (markdown) dovrin.setMarkdown(markdown);\n"
    "return { markdown: dovrin.getMarkdown(), focused: focus ? dovrin.focus() : false };";
// → string
inline constexpr const char* getMarkdown = "return dovrin.getMarkdown()";
// color
inline constexpr const char* setColor = "dovrin.setColor(color)";
// markdown (the AI's text), base (the text of its base rev) → { status, markdown | reason }
inline constexpr const char* applyExternalMarkdown =
    "return await dovrin.applyExternalMarkdown({ markdown, base })";
// id (integer from the image message), url (string, or null when storing failed)
inline constexpr const char* imageStored = "dovrin.imageStored(id, url)";
// id (command id), arg (an object; "link:set" carries "href")
inline constexpr const char* runCommand = "dovrin.runCommand(id, arg)";
// mime, data (base64)
inline constexpr const char* insertImageFile = "return dovrin.insertImageFile({ mime, data })";

} // namespace Dovrin::Stickies::EditorScripts
