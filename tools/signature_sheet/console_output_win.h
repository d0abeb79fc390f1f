// Every line the tool prints goes through here. Its texts are GBK like everything inside, but
// what reaches the user must not depend on the code page of their Windows or of their console: a
// console is written in UTF-16 (WriteConsoleW), which it shows whatever its code page; a file or a
// pipe gets UTF-8, which an editor, a script or another program reads the same on every Windows.
#pragma once

#include <string_view>

enum class OutputStream { kOut, kError };

// Whether the stream is a console (and not a file, a pipe or nothing at all).
bool IsConsole(OutputStream stream);

// The GBK text as it stands; in a file or a pipe each "\n" is written as CR LF. Nothing is written
// where the stream goes nowhere (a program started without one).
void WriteText(OutputStream stream, std::string_view gbk);

// The text and a line end.
void WriteLine(OutputStream stream, std::string_view gbk);

// A progress line on a console, kept in its place: the next progress line is written over it, and
// the next text of any other kind first clears it, so that no message ends up behind the progress
// line. A file or a pipe gets none: it is told the progress in whole lines.
void WriteProgress(OutputStream stream, std::string_view gbk);
