#include "guibase/messagebox.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QWidget>

namespace {

MessageSink* g_sink = nullptr;

// The box carries the title of the window it belongs to: the main window's, also
// over a dialog of it.
QString OwnerTitle(QWidget* window)
{
    while (window && window->parentWidget())
        window = window->parentWidget()->window();
    QString title = window ? window->windowTitle() : QString();
    title.remove(QStringLiteral("[*]"));
    return title.isEmpty() ? QApplication::applicationDisplayName() : title;
}

// What the engine and the forms show goes through here, so that a recording sink
// sees the text the user would.
class TranslatingSink : public MessageSink {
public:
    void ShowMessage(const std::string& text) override
    {
        static MessageBoxSink boxes;
        MessageSink& target = g_sink ? *g_sink : boxes;
        target.ShowMessage(TranslatedMessage(QString::fromStdString(text)).toStdString());
    }
};

} // namespace

void MessageBoxSink::ShowMessage(const std::string& text)
{
    QWidget* owner = QApplication::activeWindow();
    QMessageBox box(QMessageBox::NoIcon, OwnerTitle(owner), QString::fromStdString(text), QMessageBox::Ok, owner);
    box.exec();
}

MessageSink& AppMessageSink()
{
    static TranslatingSink translating;
    return translating;
}

void SetAppMessageSink(MessageSink* sink) { g_sink = sink; }

QString TranslatedMessage(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = QCoreApplication::translate("msg", line.toUtf8().constData());
    return lines.join(QLatin1Char('\n'));
}

void ShowMessageBox(const QString& text) { AppMessageSink().ShowMessage(text.toStdString()); }
