#pragma once

#include <QString>

namespace kst {

// Which tables and columns a profile file must hold.
enum class ProfileLayout {
    // The profile format: the six tables, each with exactly its columns, in order.
    Current,
    // A profile of an earlier version, to import from: the five tables the import
    // reads (not `tblBackup`), each beginning with the columns the import copies
    // (importedColumns), in order; what follows them is not looked at. Columns that
    // another tool dropped from a table count as never there.
    Older,
};

// The one opening of a profile file that the program did not just make. The start-up
// choice and the load check every file here, and so must every command that opens a
// file the user picked or imports one. The file opens only as a database of ours with
// the profile password, holding nothing that could run (see db::Connection); it is read
// once whole, to find damage before anything is loaded; and its tables hold the columns
// of `layout` under their names and of their kinds, so that no value is read from or
// written to another column. Raises a kst::RunTimeError that names the file and the
// reason (err::TableNotFound for a missing table), and never changes the file.
void CheckProfileFile(const QString& path, ProfileLayout layout = ProfileLayout::Current);

// Whether the file at `path` is a usable profile: True when it passes CheckProfileFile,
// False when it lacks one of the six tables (names compared without regard to case).
// Every other refusal (the file is missing, not a profile, has another password, is
// damaged, holds other columns, is locked) raises its kst::RunTimeError to the caller.
bool ValidateSettingsDB(const QString& path);

} // namespace kst
