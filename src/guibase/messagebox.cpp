#include "guibase/messagebox.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QVariant>
#include <QWidget>

namespace {

constexpr char kSinkProperty[] = "plyforgeMessageSink";

// The sink installed on from or the nearest object above it; the application is
// the last, for a harness that records every message.
MessageSink* InstalledSink(const QObject* from)
{
    for (const QObject* object = from; object; object = object->parent()) {
        if (const QVariant sink = object->property(kSinkProperty); sink.isValid())
            return reinterpret_cast<MessageSink*>(sink.value<quintptr>());
    }
    const QVariant sink = QCoreApplication::instance() ? qApp->property(kSinkProperty) : QVariant();
    return sink.isValid() ? reinterpret_cast<MessageSink*>(sink.value<quintptr>()) : nullptr;
}

// The widget a box stands over: from's own, or that of the nearest widget above it.
QWidget* OwnerWidget(const QObject* from)
{
    for (const QObject* object = from; object; object = object->parent()) {
        if (object->isWidgetType())
            return const_cast<QWidget*>(static_cast<const QWidget*>(object))->window();
    }
    return QApplication::activeWindow();
}

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

} // namespace

void InstallMessageSink(QObject* root, MessageSink* sink)
{
    root->setProperty(kSinkProperty, sink ? QVariant::fromValue(reinterpret_cast<quintptr>(sink)) : QVariant());
}

void ShowMessageBox(const QObject* from, const QString& text)
{
    // What the engine and the forms show goes through here, so that a recording sink
    // sees the text the user would.
    const QString translated = TranslatedMessage(text);
    if (MessageSink* sink = InstalledSink(from)) {
        sink->ShowMessage(translated.toStdString());
        return;
    }
    QWidget* owner = OwnerWidget(from);
    QMessageBox box(QMessageBox::NoIcon, OwnerTitle(owner), translated, QMessageBox::Ok, owner);
    box.exec();
}

void WindowMessageSink::ShowMessage(const std::string& text) { ShowMessageBox(m_window, QString::fromStdString(text)); }

QString TranslatedMessage(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = QCoreApplication::translate("msg", line.toUtf8().constData());
    return lines.join(QLatin1Char('\n'));
}
