#include "mcp/dovrin_mcp/ToolList.h"

#include "shared/bridge/ToolLimits.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <utility>

using namespace Qt::StringLiterals;

namespace Dovrin::Mcp {

namespace {

// Kept as JSON text so that it reads like what the AI client receives. Each tool's name is the one at its
// position in Bridge::toolNames; a {placeholder} is the value of the limit it names; "NOTE" stands for the
// schema of the "note" argument, which every tool that takes one shares.
constexpr const char* toolsJson = R"JSON([
{
  "title": "List Dovrin notes",
  "description": "List the user's Dovrin sticky notes, most recently edited first. Returns JSON objects with id, title, preview, color, is_open (false = closed but kept), rev, updated (ISO-8601), todos {open, done} and link. Notes in Recently Deleted are not listed. Pass query to filter by text in the title or body. When the user shares a Dovrin link, call read_note with it instead.",
  "inputSchema": {
    "type": "object",
    "properties": {
      "query": {"type": "string", "description": "Case-insensitive text to find in the title or body."},
      "limit": {"type": "integer", "minimum": 1, "maximum": 200, "description": "At most this many notes (default {defaultListLimit})."},
      "include_closed": {"type": "boolean", "description": "Include closed notes (default true)."}
    },
    "required": [],
    "additionalProperties": false
  },
  "annotations": {"readOnlyHint": true, "openWorldHint": false}
},
{
  "title": "Read a Dovrin note",
  "description": "Read one Dovrin sticky note: id, title, color, rev, its todos with the 0-based index set_todo takes, the full markdown body, and attached images as image content. Accepts a note id or a Dovrin link (dovrin://note/<id> or https://<domain>/n/<id>). Keep the rev: update_note requires it. Long notes come in pages of max_chars; the header says which offset to ask for next.",
  "inputSchema": {
    "type": "object",
    "properties": {
      "note": "NOTE",
      "max_chars": {"type": "integer", "minimum": {minPageSize}, "description": "Characters of markdown per page (default {defaultPageSize})."},
      "offset": {"type": "integer", "minimum": 0, "description": "Character offset of the page (default 0)."}
    },
    "required": ["note"],
    "additionalProperties": false
  },
  "annotations": {"readOnlyHint": true, "openWorldHint": false}
},
{
  "title": "Create Dovrin notes",
  "description": "Put 1 to {maxNotesPerCreate} new sticky notes on the user's screen in one call, for example one per day of a weekly plan, in reading order. The body is markdown: start with a \"# Title\" line and write todos as \"- [ ] task\". All notes are created or none. Returns batch_id and each note's id, rev and link.",
  "inputSchema": {
    "type": "object",
    "properties": {
      "notes": {
        "type": "array",
        "minItems": 1,
        "maxItems": {maxNotesPerCreate},
        "items": {
          "type": "object",
          "properties": {
            "markdown": {"type": "string", "description": "The note's body in markdown (at most {maxMarkdownKB} KB)."},
            "color": {"type": "string", "enum": {colorNames}, "description": "Sticky color. Leave it out unless the user asked for one."}
          },
          "required": ["markdown"],
          "additionalProperties": false
        }
      }
    },
    "required": ["notes"],
    "additionalProperties": false
  },
  "annotations": {"readOnlyHint": false, "openWorldHint": false, "destructiveHint": false, "idempotentHint": false}
},
{
  "title": "Update a Dovrin note",
  "description": "Change an existing note's markdown. op \"append\" adds markdown at the end. op \"replace_section\" replaces the section whose heading matches the first line of markdown (that line must be a heading such as \"## Tasks\"; the section runs to the next heading of the same or a higher level; it is appended if missing). op \"replace_all\" replaces the whole body. expected_rev must be the rev from your latest read_note or list_notes. If the note changed since, nothing is written and you get a \"conflict\" error with current_rev and current_markdown: merge your edit into it and retry with current_rev. To tick a todo, use set_todo instead.",
  "inputSchema": {
    "type": "object",
    "properties": {
      "note": "NOTE",
      "op": {"type": "string", "enum": ["append", "replace_section", "replace_all"]},
      "markdown": {"type": "string", "description": "Markdown to append, or the new section or body (at most {maxMarkdownKB} KB)."},
      "expected_rev": {"type": "integer", "minimum": 1, "description": "The rev you last read."}
    },
    "required": ["note", "op", "markdown", "expected_rev"],
    "additionalProperties": false
  },
  "annotations": {"readOnlyHint": false, "openWorldHint": false, "destructiveHint": true, "idempotentHint": false}
},
{
  "title": "Check or uncheck a todo",
  "description": "Check or uncheck one todo (\"- [ ] item\") in a note. Identify it with exactly one of: index, the 0-based position read_note shows, or match, text from the todo (an exact match wins, otherwise it must be part of exactly one todo). No rev needed. Returns the note's new rev and the todo's state.",
  "inputSchema": {
    "type": "object",
    "properties": {
      "note": "NOTE",
      "index": {"type": "integer", "minimum": 0, "description": "0-based todo index from read_note."},
      "match": {"type": "string", "description": "Text of the todo, or a unique part of it."},
      "checked": {"type": "boolean", "description": "true to check it off, false to uncheck it."}
    },
    "required": ["note", "checked"],
    "additionalProperties": false
  },
  "annotations": {"readOnlyHint": false, "openWorldHint": false, "destructiveHint": false, "idempotentHint": true}
},
{
  "title": "Delete a Dovrin note",
  "description": "Move a note to the user's Recently Deleted, where it stays restorable for 30 days. Only delete when the user asked for it.",
  "inputSchema": {
    "type": "object",
    "properties": {
      "note": "NOTE"
    },
    "required": ["note"],
    "additionalProperties": false
  },
  "annotations": {"readOnlyHint": false, "openWorldHint": false, "destructiveHint": true, "idempotentHint": true}
}
])JSON";

QJsonObject noteSchema() {
    return QJsonObject{
        {u"type"_s, u"string"_s},
        {u"description"_s, u"The note's id, or its link (dovrin://note/<id> or https://<domain>/n/<id>)."_s},
    };
}

// The JSON text with every {placeholder} replaced by its limit.
QByteArray filledToolsJson() {
    QJsonArray colors;
    for (const char* name : Bridge::colorNames)
        colors.append(QLatin1String(name));
    const std::pair<const char*, QString> values[] = {
        {"{defaultListLimit}", QString::number(Bridge::defaultListLimit)},
        {"{minPageSize}", QString::number(Bridge::minPageSize)},
        {"{defaultPageSize}", QString::number(Bridge::defaultPageSize)},
        {"{maxNotesPerCreate}", QString::number(Bridge::maxNotesPerCreate)},
        {"{maxMarkdownKB}", QString::number(Bridge::maxMarkdownBytes / 1024)},
        {"{colorNames}", QString::fromUtf8(QJsonDocument(colors).toJson(QJsonDocument::Compact))},
    };
    QString text = QString::fromUtf8(toolsJson);
    for (const auto& [placeholder, value] : values)
        text.replace(QLatin1String(placeholder), value);
    return text.toUtf8();
}

} // namespace

QJsonArray toolList() {
    QJsonArray tools = QJsonDocument::fromJson(filledToolsJson()).array();
    const QLatin1String inputSchemaKey("inputSchema");
    const QLatin1String propertiesKey("properties");
    const QLatin1String noteKey("note");
    for (qsizetype i = 0; i < tools.size(); ++i) {
        QJsonObject tool = tools.at(i).toObject();
        tool.insert("name"_L1, QLatin1String(Bridge::toolNames.at(std::size_t(i))));
        tools.replace(i, tool);
        QJsonObject schema = tool.value(inputSchemaKey).toObject();
        QJsonObject properties = schema.value(propertiesKey).toObject();
        if (!properties.contains(noteKey))
            continue;
        properties.insert(noteKey, noteSchema());
        schema.insert(propertiesKey, properties);
        tool.insert(inputSchemaKey, schema);
        tools.replace(i, tool);
    }
    return tools;
}

bool isToolName(const QString& name) {
    for (const char* candidate : Bridge::toolNames)
        if (name == QLatin1String(candidate))
            return true;
    return false;
}

} // namespace Dovrin::Mcp
