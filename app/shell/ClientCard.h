#pragma once

#include "app/shell/AIClient.h"

#include <QFrame>

class QLabel;
class QPushButton;

namespace Dovrin::Shell {

class SnippetBlock;

// One AI client in the Connect window: its name, the command or file content that registers Dovrin with it,
// and, where its configuration file exists, a button that writes Dovrin's entry into that file (or word that
// it is connected already).
class ClientCard final : public QFrame {
    Q_OBJECT
    Q_DISABLE_COPY(ClientCard)

public:
    explicit ClientCard(const AIClient& client, QWidget* parent = nullptr);

    const AIClient& client() const { return m_client; }
    // Reads the client's file again. The line about the last change stays until the next one.
    void refresh(const AIClient& client, const QString& mcpPath);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void add();
    void showMessage(const QString& text);

    AIClient m_client;
    QString m_mcpPath;
    QLabel* m_name = nullptr;
    QLabel* m_connected = nullptr;
    QPushButton* m_add = nullptr;
    QLabel* m_caption = nullptr;
    SnippetBlock* m_snippet = nullptr;
    QLabel* m_note = nullptr;
    QLabel* m_message = nullptr;
};

} // namespace Dovrin::Shell
