#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

// Every file and folder the engine touches goes through here: plain system calls, each retried
// when a signal interrupts it, their failures raised as VelmarError with the system's wording.
// Opening raises FileNotFound when the path is missing, PathNotFound when one of its folders is
// not a folder, PermissionDenied otherwise; reading and writing raise PathFileAccess.
namespace Disk {

enum class Kind { Missing, File, Folder, Other };

// What the path names, links followed.
Kind KindOf(const QString& path);

// The whole file, its length taken first and that many bytes read at once. It is not mapped:
// a script cut short while it loads would then end the process. A folder is PermissionDenied.
QByteArray ReadFile(const QString& path);

// Appends the bytes to the file, created when missing; the whole write, closing included.
void AppendToFile(const QString& path, QByteArrayView bytes);

// Raises PermissionDenied when the folder cannot be created.
void CreateFolder(const QString& path);

// The names of the folder's files ending in `suffix` in any letter case, as the load takes them:
// regular files and links to them, and links whose target is gone (kept, to be rejected rather
// than silently skipped); hidden ones left out; ordered by name without regard to case. Raises
// PermissionDenied when the folder cannot be listed.
QStringList FilesIn(const QString& folder, QStringView suffix);

}  // namespace Disk
