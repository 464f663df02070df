#include "QtDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <algorithm>

namespace {

QWidget* parentWindow()
{
    return QApplication::activeWindow();
}

QString title()
{
    return QApplication::applicationName();
}

QtDialogs::PreviewFactory s_previewFactory = nullptr;

} // namespace

void QtDialogs::setPreviewFactory(PreviewFactory factory)
{
    s_previewFactory = factory;
}

void QtDialogs::reportError(const QString& message)
{
    QMessageBox box(QMessageBox::Critical, title(), message, QMessageBox::Ok, parentWindow());
    box.exec();
}

void QtDialogs::showMessage(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, title(), text, QMessageBox::Ok, parentWindow());
    box.exec();
}

Dialogs::Answer QtDialogs::messageBox(const QString& text, const QString& caption, Buttons buttons, Icon icon)
{
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    switch (icon) {
    case Icon::Information:
        qicon = QMessageBox::Information;
        break;
    case Icon::Warning:
        qicon = QMessageBox::Warning;
        break;
    case Icon::Error:
        qicon = QMessageBox::Critical;
        break;
    case Icon::Question:
        qicon = QMessageBox::Question;
        break;
    case Icon::None:
        break;
    }
    QMessageBox::StandardButtons qbuttons = QMessageBox::Ok;
    if (buttons == Buttons::YesNo)
        qbuttons = QMessageBox::Yes | QMessageBox::No;
    else if (buttons == Buttons::OkCancel)
        qbuttons = QMessageBox::Ok | QMessageBox::Cancel;
    QMessageBox box(qicon, caption, text, qbuttons, parentWindow());
    // The buttons speak Swedish whatever language Qt's own translations are in.
    if (QAbstractButton* b = box.button(QMessageBox::Yes))
        b->setText(QStringLiteral("&Ja"));
    if (QAbstractButton* b = box.button(QMessageBox::No))
        b->setText(QStringLiteral("&Nej"));
    if (QAbstractButton* b = box.button(QMessageBox::Cancel))
        b->setText(QStringLiteral("Avbryt"));
    const int clicked = box.exec();
    // A box that went without a click (the program is ending) gave no answer.
    if (!box.clickedButton())
        return Cancel;
    switch (clicked) {
    case QMessageBox::Yes:
        return Yes;
    case QMessageBox::No:
        return No;
    case QMessageBox::Cancel:
        return Cancel;
    default:
        return Ok;
    }
}

QString QtDialogs::qtFilter(const QString& filter)
{
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return out.join(QStringLiteral(";;"));
}

std::unique_ptr<QFileDialog> QtDialogs::fileDialog(const FileRequest& request, bool save)
{
    auto dialog = std::make_unique<QFileDialog>(parentWindow(), request.title, request.initialDir);
    // Qt's own dialog: the desktop's would drop the preview and show each filter's patterns twice.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    // The descriptions already name their patterns; Qt would add them once more.
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setNameFilter(qtFilter(request.filter));
    if (save) {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(request.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    }
    if (!request.defaultExt.isEmpty())
        dialog->setDefaultSuffix(request.defaultExt);
    if (!request.fileName.isEmpty())
        dialog->selectFile(request.fileName);
    if (request.preview && s_previewFactory)
        s_previewFactory(*dialog);
    return dialog;
}

QStringList QtDialogs::shownFilterNames(const QString& filter)
{
    FileRequest request;
    request.filter = filter;
    const auto dialog = fileDialog(request, false);
    QStringList names;
    if (const auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
        for (int i = 0; i < combo->count(); ++i)
            names << combo->itemText(i);
    }
    return names;
}

QStringList QtDialogs::openFiles(const FileRequest& request)
{
    const auto dialog = fileDialog(request, false);
    if (dialog->exec() != QDialog::Accepted)
        return {};
    return dialog->selectedFiles();
}

QString QtDialogs::saveFile(const FileRequest& request)
{
    // Qt asks before an existing file is replaced; a silent overwrite would lose a list.
    const auto dialog = fileDialog(request, true);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().first();
}

std::optional<QColor> QtDialogs::chooseColour(const QColor& initial, QList<QColor>& customColours)
{
    // Qt has no empty slot: it shows unused ones white. A slot without a colour is shown so and
    // stays without one unless the user puts another colour there.
    const int slotCount = std::min(int(customColours.size()), QColorDialog::customCount());
    for (int i = 0; i < slotCount; ++i)
        QColorDialog::setCustomColor(i, customColours[i].isValid() ? customColours[i] : QColor(Qt::white));
    QColorDialog dialog(initial, parentWindow());
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    for (int i = 0; i < slotCount; ++i) {
        const QColor shown = QColorDialog::customColor(i);
        if (customColours[i].isValid() || shown != QColor(Qt::white))
            customColours[i] = shown;
    }
    if (!accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

QString QtDialogs::browseFolder(const QString& title, const QString& initialDir)
{
    // Files are shown beside the folders and can be chosen; a start that names a file preselects it.
    QFileDialog dialog(parentWindow(), title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QFileInfo start(initialDir);
    if (start.isDir()) {
        dialog.setDirectory(initialDir);
    } else {
        dialog.setDirectory(start.absolutePath());
        dialog.selectFile(start.fileName());
    }
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}
