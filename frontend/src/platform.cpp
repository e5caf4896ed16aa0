#include "platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStorageInfo>
#include <algorithm>

namespace tessalin {

QStringList MountedVolumes() {
  QStringList others;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (!volume.isValid() || !volume.isReady()) continue;
    const QString root = volume.rootPath();
    // Containers mount single files (/etc/hosts) too: only folders are drives.
    if (root == QLatin1String("/") || !QFileInfo(root).isDir()) continue;
    const QByteArray type = volume.fileSystemType();
    // Kernel and memory file systems hold no user files worth browsing.
    static const QList<QByteArray> pseudo = {
        "proc",       "sysfs",   "devpts",    "devtmpfs", "cgroup",      "cgroup2",
        "securityfs", "debugfs", "tracefs",   "mqueue",   "pstore",      "bpf",
        "configfs",   "fusectl", "hugetlbfs", "autofs",   "binfmt_misc", "nsfs"};
    if (pseudo.contains(type)) continue;
    if (!others.contains(root)) others << root;
  }
  std::sort(others.begin(), others.end());
  others.prepend(QStringLiteral("/"));
  return others;
}

QString VolumeOf(const QString& path, const QStringList& volumes) {
  const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  QString best;
  for (const QString& volume : volumes) {
    const bool holds = volume == QLatin1String("/") || clean == volume ||
                       clean.startsWith(volume + QLatin1Char('/'));
    if (holds && volume.size() > best.size()) best = volume;
  }
  return best.isEmpty() && !volumes.isEmpty() ? volumes.first() : best;
}

QString FindEngine(const QString& workingFolder) {
  const QStringList places = {workingFolder, QCoreApplication::applicationDirPath()};
  for (const QString& folder : places) {
    const QFileInfo candidate(QDir(folder).filePath(ENGINE_PROGRAM));
    if (candidate.isFile() && candidate.isExecutable()) return candidate.absoluteFilePath();
  }
  return QStandardPaths::findExecutable(ENGINE_PROGRAM);
}

bool StartInTerminal(const QString& program, const QString& workingFolder, const QString& title,
                     QString* error) {
  QString terminal = qEnvironmentVariable("TESSALIN_TERMINAL");
  QStringList arguments = {QStringLiteral("-T"), title};
  if (terminal.isEmpty())
    terminal = QStandardPaths::findExecutable(QStringLiteral("x-terminal-emulator"));
  if (terminal.isEmpty()) terminal = QStandardPaths::findExecutable(QStringLiteral("xterm"));
  if (terminal.isEmpty()) {
    if (error) *error = QStringLiteral("no terminal emulator found");
    return false;
  }
  // xterm (also behind the x-terminal-emulator alternative, often through
  // the lxterm or uxterm wrappers, which pass options on) draws Japanese
  // only with a scalable font.
  if (QFileInfo(QFileInfo(terminal).canonicalFilePath())
          .fileName()
          .contains(QLatin1String("xterm")) &&
      qEnvironmentVariable("TESSALIN_TERMINAL").isEmpty()) {
    arguments << QStringLiteral("-fa") << QStringLiteral("Monospace") << QStringLiteral("-fs")
              << QStringLiteral("11");
  }
  // The terminal closes when its program ends. After a failure the user must
  // still be able to read the engine's report, so the window then waits for
  // Enter. The program is passed as $0, never spliced into the script.
  arguments << QStringLiteral("-e") << QStringLiteral("/bin/sh") << QStringLiteral("-c")
            << QStringLiteral(
                   "\"$0\"; status=$?; if [ $status -ne 0 ]; then "
                   "printf '\\n  TSL2-calc ended with exit status %s.\\n"
                   "  ---  Push Enter key to close  ---\\n' $status; read answer; fi; "
                   "exit $status")
            << program;
  QProcess process;
  process.setProgram(terminal);
  process.setArguments(arguments);
  process.setWorkingDirectory(workingFolder);
  if (!process.startDetached()) {
    if (error) *error = QStringLiteral("cannot start %1: %2").arg(terminal, process.errorString());
    return false;
  }
  return true;
}

}  // namespace tessalin
