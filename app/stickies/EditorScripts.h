#pragma once

#include <QString>

// The scripts the app runs in an editor page, word for word; EditorPage::call supplies their arguments.
namespace Dovrin::Stickies::EditorScripts {

using namespace Qt::StringLiterals;

// markdown (string), color (color name), focus (Boolean) → { markdown, focused }
inline constexpr QLatin1StringView fill =
    "dovrin.setColor(color);\n"
    "if (markdown) dovrin.setMarkdown(markdown);\n"
    "return { markdown: dovrin.getMarkdown(), focused: focus ? dovrin.focus() : false };"_L1;
// → string
inline constexpr QLatin1StringView getMarkdown = "return dovrin.getMarkdown()"_L1;
// color
inline constexpr QLatin1StringView setColor = "dovrin.setColor(color)"_L1;
// markdown (the AI's text), base (the text of its base rev) → { status, markdown | reason }
inline constexpr QLatin1StringView applyExternalMarkdown =
    "return await dovrin.applyExternalMarkdown({ markdown, base })"_L1;
// id (integer from the image message), url (string, or null when storing failed)
inline constexpr QLatin1StringView imageStored = "dovrin.imageStored(id, url)"_L1;
// id (command id), arg (an object; "link:set" carries "href")
inline constexpr QLatin1StringView runCommand = "dovrin.runCommand(id, arg)"_L1;
// mime, data (base64)
inline constexpr QLatin1StringView insertImageFile = "return dovrin.insertImageFile({ mime, data })"_L1;

} // namespace Dovrin::Stickies::EditorScripts
