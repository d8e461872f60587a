#pragma once

#include "app/stickies/PopoverColors.h"

#include <QWidget>

class QLineEdit;

namespace Dovrin::Stickies {

class LinkEditorModel;
class PillButton;

// The link editor: a field for the address, "Remove Link" for a link that is already there, "Cancel" and
// the prominent "Save". Return saves and Escape cancels.
class LinkEditor final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(LinkEditor)

public:
    static constexpr int editorWidth = 300;

    explicit LinkEditor(LinkEditorModel& model, QWidget* parent = nullptr);

    LinkEditorModel& model() const { return m_model; }
    QLineEdit* field() const { return m_field; }
    void setColors(const PopoverColors& colors);

signals:
    void saveRequested();
    void removeRequested();
    void cancelRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();

    LinkEditorModel& m_model;
    QLineEdit* m_field;
    PillButton* m_remove;
    PillButton* m_cancel;
    PillButton* m_save;
};

} // namespace Dovrin::Stickies
