#pragma once

#include <QString>

class QWebEngineProfile;

namespace Dovrin::Stickies {

// Call before the QApplication exists: registers the "app" scheme and lets QtWebEngine share its GL
// contexts, both of which the engine only accepts that early.
void prepareEditorEngine();

// The folder of the built editor page: $DOVRIN_EDITOR_DIST when set, else share/dovrin/editor of an installed
// app, else the build tree's editor output.
QString editorDistFolder();

// The one profile every editor page shares: the asset server on "app", no request for anything but "app",
// "data" and "blob", windows opened without a user gesture, and the message shim in every page. Created on
// first use, owned by the application.
QWebEngineProfile* editorProfile();

// The page language ("en" or "zh-Hans"), set as the document's lang before any page script runs.
void setEditorLanguage(const QString& tag);

} // namespace Dovrin::Stickies
