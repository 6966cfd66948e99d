#include "users/data_folder.h"

#include "platform/program_folder.h"
#include "users/user_manager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace kalvero {

namespace {

// The resolved data folder; empty until the first resolution.
QString gDataFolder;

const char* const kProbeName = "schreibprobe.tmp";

QString WithSeparator(const QString& folder) {
    return folder.endsWith('/') ? folder : folder + '/';
}

std::filesystem::path FsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// Arguments without the program path: Qt's when an application object exists, else the kernel's.
QStringList ProcessArguments() {
    QStringList arguments;
    if (QCoreApplication::instance()) {
        arguments = QCoreApplication::arguments();
    } else {
        QFile cmdline(QStringLiteral("/proc/self/cmdline"));
        if (cmdline.open(QIODevice::ReadOnly))
            for (const QByteArray& arg : cmdline.readAll().split('\0'))
                arguments << QFile::decodeName(arg);
        if (!arguments.isEmpty() && arguments.last().isEmpty())
            arguments.removeLast();
    }
    if (!arguments.isEmpty())
        arguments.removeFirst();
    return arguments;
}

bool CreateFolder(const QString& folder) {
    if (folder.isEmpty())
        return false;
    return QDir().mkpath(folder) && QFileInfo(folder).isDir();
}

// Creates the probe exclusively; a probe left over by someone else is replaced once.
int OpenProbe(const QByteArray& path) {
    int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EEXIST && ::unlink(path.constData()) == 0)
        fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    return fd;
}

void CopyFileIfMissing(const QString& source, const QString& target) {
    std::error_code error;
    std::filesystem::copy_file(FsPath(source), FsPath(target),
                               std::filesystem::copy_options::skip_existing, error);
}

} // namespace

bool HasOwnFilesSwitch(const QStringList& arguments) {
    for (const QString& arg : arguments)
        if (arg.compare(QLatin1String("/eigenedateien"), Qt::CaseInsensitive) == 0 ||
            arg.compare(QLatin1String("-eigenedateien"), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString UserDocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty())
        return documents;
    return qEnvironmentVariable("HOME");
}

bool WriteProbe(const QString& folder) {
    if (!CreateFolder(folder))
        return false;
    const QByteArray path = QFile::encodeName(WithSeparator(folder) + kProbeName);
    const int fd = OpenProbe(path);
    if (fd < 0)
        return false;
    ::unlink(path.constData());
    ::close(fd);
    return true;
}

void CopyFolderFiles(const QString& source, const QString& target) {
    if (!QFileInfo(source).isDir() || !CreateFolder(target))
        return;
    std::error_code error;
    std::filesystem::directory_iterator it(FsPath(source), error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        if (it->is_directory(typeError) || typeError)
            continue;
        const QString name = QFile::decodeName(it->path().filename().string().c_str());
        CopyFileIfMissing(WithSeparator(source) + name, WithSeparator(target) + name);
    }
}

void MigrateData(const QString& programFolder, const QString& dataFolder) {
    const QString p = WithSeparator(programFolder);
    const QString d = WithSeparator(dataFolder);
    if (QFileInfo::exists(d + "users.ini") || QFileInfo(d + "users.ini").isSymLink())
        return;
    if (QFileInfo::exists(p + "users.ini"))
        CopyFileIfMissing(p + "users.ini", d + "users.ini");
    for (const char* sub : {"Protokolle/", "Plaene/", "Profile/"})
        CopyFolderFiles(p + sub, d + sub);
}

QString ResolveDataFolder(const QString& programFolder, const QString& documentsFolder,
                          const QStringList& arguments) {
    const QString p = WithSeparator(programFolder);
    if (!HasOwnFilesSwitch(arguments) && WriteProbe(p))
        return p;
    const QString d = WithSeparator(documentsFolder.isEmpty() ? p : documentsFolder) + "Kalvero4/";
    if (!WriteProbe(d))
        return p;
    MigrateData(p, d);
    // At every start, so profiles delivered with the program reach the documents folder.
    CopyFolderFiles(p + "Profile/", d + "Profile/");
    return d;
}

QString GetDataFolder() {
    if (gDataFolder.isEmpty())
        gDataFolder = ResolveDataFolder(ProgramFolder(), UserDocumentsFolder(), ProcessArguments());
    return gDataFolder;
}

void OverrideDataFolder(const QString& folder) {
    gDataFolder = folder.isEmpty() ? QString() : WithSeparator(folder);
}

QString GetProtocolFolder() {
    return GetDataFolder() + QStringLiteral("Protokolle/");
}

QString GetPlansFolder() {
    return GetDataFolder() + QStringLiteral("Plaene/");
}

QString GetProfilesFolder() {
    return GetDataFolder() + QStringLiteral("Profile/");
}

QString GetUserPlanFile(const QString& user) {
    return GetPlansFolder() + UserFileName(user) + QStringLiteral(".kvplan");
}

} // namespace kalvero
