#include "guibase/messagebox.h"

#include <QApplication>
#include <QMessageBox>

namespace {
MessageSink* g_sink = nullptr;
}

void MessageBoxSink::ShowMessage(const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Plyforge"), QString::fromStdString(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

MessageSink& AppMessageSink()
{
    static MessageBoxSink boxes;
    return g_sink ? *g_sink : boxes;
}

void SetAppMessageSink(MessageSink* sink) { g_sink = sink; }

void ShowMessageBox(const QString& text) { AppMessageSink().ShowMessage(text.toStdString()); }
