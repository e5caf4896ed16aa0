// The headless picture of a result:
//   Tessalin --render <result.tsl2> <out.png> [--plane N]
// draws the viewer's three axial maps, sagittal map, profile and legend for
// plane N (1..40, default 1) into one PNG with the viewer's own drawing code,
// without opening a window.
#pragma once

#include <QString>
#include <QStringList>

namespace tessalin {

// True when the command line asks for the picture ("--render" first).
bool IsRenderRequest(int argc, char* argv[]);

// Makes its own application object (off screen unless a platform is set),
// writes the picture and returns the exit status: 0, or 1 after a message on
// standard error for bad arguments, an unreadable result or an unwritable PNG.
int RunRender(int argc, char* argv[]);

// The work of RunRender within an existing application object; arguments
// start with "--render". Returns 0, or 1 with the reason in error.
int RenderPicture(const QStringList& arguments, QString& error);

}  // namespace tessalin
