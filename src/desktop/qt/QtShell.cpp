#include "desktop/qt/QtShell.h"

#include "desktop/DisplayFile.h"
#include "desktop/Fault.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace desktop {

namespace {

// "Description:pattern:Description:pattern" in Qt's form, one type a line.
QStringList nameFilters(const QString &filterList)
{
    if (filterList.isEmpty())
        return {QStringLiteral("All Files (*)")};
    const QStringList parts = filterList.split(u':');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        // "*.*" means every file, also those without a dot.
        patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        filters.append(parts[i] + QStringLiteral(" (") + patterns + u')');
    }
    return filters;
}

QString runDialog(QFileDialog &dialog, const QString &filterList)
{
    dialog.setNameFilters(nameFilters(filterList));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString QtShell::OpenFileDialog(const QString &title, const QString &filterList, const QString &startFolder)
{
    QFileDialog dialog(QApplication::activeWindow(), title, startFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return runDialog(dialog, filterList);
}

QString QtShell::SaveFileDialog(const QString &title, const QString &filterList, const QString &proposedName,
                                const QString &startFolder)
{
    QFileDialog dialog(QApplication::activeWindow(), title, startFolder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!proposedName.isEmpty())
        dialog.selectFile(proposedName);
    return runDialog(dialog, filterList);
}

bool QtShell::ShowText(const QString &text)
{
    const QString path = writeDisplayFile(text);
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        throw Fault(QStringLiteral("Cannot open ") + QDir::toNativeSeparators(path) + QStringLiteral(" for display"));
    return true;
}

qint32 QtShell::ShellOpen(const QString &target)
{
    return QDesktopServices::openUrl(QUrl::fromUserInput(target)) ? ShellOpenSucceeded : ShellOpenFailed;
}

bool QtShell::openWebPage(const QString &path, std::function<void(const QString &why)> failed)
{
    const QUrl page = QUrl::fromLocalFile(path);
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty()) {
        // No parent: deleting it while the browser runs would end the browser.
        auto *process = new QProcess;
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        QObject::connect(process, &QProcess::finished, process,
                         [process, failed](int exitCode, QProcess::ExitStatus status) {
                             if (status != QProcess::NormalExit || exitCode != 0)
                                 failed(QStringLiteral("no web browser started"));
                             process->deleteLater();
                         });
        QObject::connect(process, &QProcess::errorOccurred, process, [process, failed](QProcess::ProcessError error) {
            if (error != QProcess::FailedToStart)
                return;
            failed(QStringLiteral("xdg-open did not start"));
            process->deleteLater();
        });
        process->start(opener, {page.toString()});
        return true;
    }
#else
    Q_UNUSED(failed)
#endif
    return QDesktopServices::openUrl(page);
}

bool QtShell::CtrlKeyDown()
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
}

bool QtShell::ShiftKeyDown()
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

} // namespace desktop
