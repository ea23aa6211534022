#include "platform/qt/QtClipboard.h"

#include "platform/qt/QtText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace lf::qt
{

namespace
{

// The names a format goes by; the first is the one we write.
QStringList NamesOf(const std::string& format)
{
    if (format == lf::sys::kClipboardRtf)
        return {QStringLiteral("text/rtf"), QStringLiteral("application/rtf"),
                QStringLiteral("text/richtext")};
    return {ToQString(format)};
}

QByteArray ToBytes(const std::string& bytes)
{
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace

QtClipboard::QtClipboard(QObject* parent) : QObject(parent)
{
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &QtClipboard::Changed);
}

bool QtClipboard::HasFormat(const std::string& format)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr)
        return false;
    if (format == lf::sys::kClipboardText)
        return data->hasText();
    if (format == lf::sys::kClipboardHtml)
        return data->hasHtml();
    for (const QString& name : NamesOf(format))
        if (data->hasFormat(name))
            return true;
    return false;
}

std::string QtClipboard::Data(const std::string& format)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr)
        return {};
    // Text and HTML may come in another encoding (UTF-16 from some programs); Qt decodes them.
    if (format == lf::sys::kClipboardText)
        return data->hasText() ? ToStdString(data->text()) : std::string();
    if (format == lf::sys::kClipboardHtml)
        return data->hasHtml() ? ToStdString(data->html()) : std::string();
    for (const QString& name : NamesOf(format))
        if (data->hasFormat(name))
        {
            const QByteArray bytes = data->data(name);
            return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        }
    return {};
}

void QtClipboard::SetData(const std::string& format, const std::string& bytes)
{
    // One new content keeps the formats already there: several formats describe one content.
    auto* fresh = new QMimeData;
    if (const QMimeData* old = QGuiApplication::clipboard()->mimeData())
        for (const QString& name : old->formats())
            fresh->setData(name, old->data(name));
    const QStringList names = NamesOf(format);
    for (const QString& old : fresh->formats()) // also "text/plain;charset=utf-8" and the like
        for (const QString& name : names)
            if (old == name || old.startsWith(name + ';'))
                fresh->removeFormat(old);
    if (format == lf::sys::kClipboardText)
        fresh->setText(ToQString(bytes));
    else if (format == lf::sys::kClipboardHtml)
        fresh->setHtml(ToQString(bytes));
    else
        fresh->setData(names.front(), ToBytes(bytes));
    QGuiApplication::clipboard()->setMimeData(fresh);
}

void QtClipboard::Clear()
{
    QGuiApplication::clipboard()->clear();
}

} // namespace lf::qt
