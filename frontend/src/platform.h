// What the front end needs from the operating system, in one place: the
// "drives" of the drive list, and starting the engine in a window of its own.
#pragma once

#include <QString>
#include <QStringList>

namespace tessalin {

inline const QString ENGINE_PROGRAM = QStringLiteral("TSL2-calc");

// The mounted volumes standing for drives: their mount points, the root
// first, then the others in name order. Pseudo file systems are left out.
QStringList MountedVolumes();

// The volume (from volumes) that holds path: the longest mount point that is
// a prefix of it; the first volume when none is.
QString VolumeOf(const QString& path, const QStringList& volumes);

// The engine's program file: in the working folder first, then beside this
// program's executable, then on the PATH. Empty when it is nowhere.
QString FindEngine(const QString& workingFolder);

// Starts program in a terminal window of its own, detached, with
// workingFolder as its current folder, titled title; does not wait.
// The terminal is TESSALIN_TERMINAL when set (a program taking the same
// arguments as x-terminal-emulator: -T title -e program), else
// x-terminal-emulator, else xterm. Returns false, with the reason in *error,
// when nothing could be started.
bool StartInTerminal(const QString& program, const QString& workingFolder, const QString& title,
                     QString* error);

}  // namespace tessalin
