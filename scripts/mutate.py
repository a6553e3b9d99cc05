#!/usr/bin/env python3
"""Plants one realistic fault at a time in a scratch copy of the tree and runs CTest.

Each fault is a one-line slip that changes what a user or the load log sees. A fault the
tests catch is "killed"; one they miss "survived" and points at a missing test. A fault
whose text is no longer in its file is "stale": update the list. Run by hand:

    python3 scripts/mutate.py [NAME-PART ...]

The scratch copy lives in $VELMAR_MUTATE_DIR (default /tmp/velmar-mutate) and is built
once, then incrementally.
"""
import filecmp
import os
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SCRATCH = os.environ.get("VELMAR_MUTATE_DIR", "/tmp/velmar-mutate")

# (name, file, text, replacement): the first occurrence of text is replaced.
FAULTS = [
    ("splitter cut eats a character", "engine/ScriptSplitter.cpp",
     "start = go + 2;", "start = go + 3;"),
    ("splitter takes CR alone for no line end", "engine/ScriptSplitter.cpp",
     "return c == '\\r' || c == '\\n';", "return c == '\\n';"),
    ("splitter ends a line comment at LF only", "engine/ScriptSplitter.cpp",
     "either('\\r', '\\n')", "either('\\n', '\\n')"),
    ("splitter counts no nested comment", "engine/ScriptSplitter.cpp",
     "++depth, step = 2;", "step = 2;"),
    ("splitter takes a doubled bracket for its end", "engine/ScriptSplitter.cpp",
     "step = 2;  // a closing character doubled", "in = kCode;  //"),
    ("splitter counts apostrophes by presence", "engine/ScriptSplitter.cpp",
     "% 2 == 1", "> 0"),
    ("folder remaining count off by one", "engine/FolderLoad.cpp",
     "return files.sliced(i + 1);", "return files.sliced(i);"),
    ("continue mode stops a folder load", "engine/FolderLoad.cpp",
     "if (StopsAtRejection()) return", "if (true) return"),
    ("folder sorted with letter case", "util/SortedEntries.h",
     "keyed.emplace_back(FoldCase(name), std::move(name));",
     "keyed.emplace_back(name, std::move(name));"),
    ("links to scripts skipped", "engine/Disk.cpp",
     "if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;",
     "if (entry.d_type != DT_UNKNOWN) return false;"),
    ("dangling link dropped from a folder", "engine/Disk.cpp",
     "return ::fstatat(folder, entry.d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&",
     "return false &&"),
    ("a missing list entry answered Abort goes on", "engine/ListFileLoad.cpp",
     "if (answer != MsgBoxAnswer::Ignore && m_lError == 0) {", "if (false) {"),
    ("list line keeps its CR", "engine/TextFile.cpp",
     "if (lines[i].endsWith(u'\\r')) lines[i].chop(1);", "if (false) lines[i].chop(1);"),
    ("blank list line taken for a script", "engine/ListFileLoad.cpp",
     "if (entry.isEmpty()) continue;", "if (entry.isNull()) continue;"),
    ("repeated list line loaded twice", "engine/ListFileLoad.cpp",
     "entries.AddIfAbsent(line, line);", "entries.Add(line);"),
    ("password written in clear", "engine/LoadTexts.cpp",
     "(sPassword.isEmpty() ? QString() : kMaskedPassword)", "sPassword"),
    ("log lines end in LF", "engine/LoadLog.h",
     'CrLf = QStringLiteral("\\r\\n");', 'CrLf = QStringLiteral("\\n");'),
    ("log truncated instead of appended", "engine/Disk.cpp",
     "O_WRONLY | O_APPEND | O_CREAT", "O_WRONLY | O_CREAT"),
    ("log times in UTC", "engine/Clock.h",
     "m_now = QDateTime::fromSecsSinceEpoch(second);",
     "m_now = QDateTime::fromSecsSinceEpoch(second, Qt::UTC);"),
    ("elapsed halves rounded up", "engine/LoadTexts.cpp",
     "rest > 500 || (rest == 500 && whole % 2 == 1)", "rest >= 500"),
    ("transaction left open not rejected", "engine/ScriptExecution.cpp",
     "if (end.rolledBack)", "if (false)"),
    ("a failed restore lets the run go on", "engine/ScriptExecution.cpp",
     "m_bStartingStateLost = true;", ""),
    ("database and options not put back", "db/TConnection.cpp",
     "!restore.isEmpty()) {", "false) {"),
    ("] of the database name not doubled", "db/TConnection.cpp",
     ".replace(u']', QStringLiteral(\"]]\"))", ""),
    ("options put back the wrong way", "db/TConnection.cpp",
     "((start.options & option.bit) != 0) == on)", "((start.options & option.bit) != 0) != on)"),
    ("port added to host,port", "engine/ConnectionString.cpp",
     "if (!sServer.contains(u',') && !sServer.contains(u'\\\\'))", "if (!sServer.contains(u'\\\\'))"),
    ("semicolon in a password not braced", "engine/ConnectionString.cpp",
     "value.contains(u';') || ", ""),
    ("later results of a batch not drained", "db/TConnection.cpp",
     "while (statement.Check(SQLMoreResults(statement.Get())) != SQL_NO_DATA) {", "while (false) {"),
    ("warning taken for the principal record", "db/OdbcError.cpp",
     'return !r.sqlState.startsWith(u"01");', "return true;"),
    ("UTF-16 LE BOM decoded as big-endian", "engine/TextFile.cpp",
     "return {TextEncoding::Utf16LE,", "return {TextEncoding::Utf16BE,"),
    ("collection keys not case-folded", "util/CCollection.h",
     "folded = FoldCase(*Key);", "folded = *Key;"),
    ("six options taken for seven", "app/CommandLine.h",
     "kOptionKeyCount = 7;", "kOptionKeyCount = 6;"),
    ("password left in the process list", "app/Startup.cpp",
     "BlankArguments(argc, argv, password);", ""),
    ("the variable's password over -P's", "app/Startup.cpp",
     "if (options && !passwordVariable.isEmpty())",
     "if (options && !passwordVariable.isEmpty() && options->IncludesKey(OptionKey::Password))"
     " options->Remove(OptionKey::Password);\n    if (options && !passwordVariable.isEmpty())"),
    ("an empty variable taken for a password", "app/Startup.cpp",
     "!passwordVariable.isEmpty()", "!passwordVariable.isNull()"),
    ("password blanked by characters, not bytes", "app/CommandLine.cpp",
     "ByteCount(argv[i], span.at + span.length) - first", "span.length"),
    ("a brace inside a value needs braces", "engine/ConnectionString.cpp",
     "value.startsWith(u'{')", "value.contains(u'{')"),
    ("a run not carried out exits 1", "app/Startup.cpp",
     "if (!outcome.failure.isEmpty()) return NotCarriedOut;",
     "if (!outcome.failure.isEmpty()) return NotAllLoaded;"),
    ("a report allowed over the log", "app/Startup.cpp",
     "if (ReportIsTheLog(options)) {", "if (false) {"),
    ("a second -R keeps the first", "app/CommandLine.cpp",
     "(option->once && options.IncludesKey(option->key))", "false"),
    ("report text not made XML-safe", "app/JUnitReport.cpp",
     "clean += allowed ? c : QChar(QChar::ReplacementCharacter);", "clean += c;"),
    ("scripts left by a stop missing from the report", "app/JUnitReport.cpp",
     "for (const QString& path : outcome.unplayed)", "for (const QString& path : QStringList())"),
    ("report time without its offset", "app/JUnitReport.cpp",
     "outcome.start.toOffsetFromUtc(outcome.start.offsetFromUtc())", "outcome.start"),
    ("window library looked for beside the binary", "app/WindowLibrary.cpp",
     'QStringLiteral("/" VELMAR_WINDOW_LIBRARY)', 'QStringLiteral("/libvelmar-window.so")'),
    ("Charger enabled without a database", "ui/frmMain.cpp",
     "!m_sServer.isEmpty() && !m_sDatabase.isEmpty() &&", "!m_sServer.isEmpty() &&"),
    ("CSV cell with a comma not quoted", "ui/CsvExport.cpp",
     'QStringLiteral(",\\"\\r\\n")', 'QStringLiteral("\\"\\r\\n")'),
    ("window closes during a load", "ui/frmMain.cpp",
     "if (m_bLoading) {", "if (false) {"),
]


def run(command, **kwargs):
    return subprocess.run(command, cwd=SCRATCH, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, **kwargs).returncode


def sync():
    files = subprocess.run(["git", "ls-files", "-z"], cwd=ROOT, check=True,
                           capture_output=True).stdout.decode().split("\0")
    tracked = set(filter(None, files))
    # A file no longer tracked could still be found by an include or a glob.
    for folder, dirs, names in os.walk(SCRATCH):
        dirs[:] = [d for d in dirs if os.path.join(folder, d) != os.path.join(SCRATCH, "build")]
        for name in names:
            if os.path.relpath(os.path.join(folder, name), SCRATCH) not in tracked:
                os.remove(os.path.join(folder, name))
    for name in tracked:
        source, target = os.path.join(ROOT, name), os.path.join(SCRATCH, name)
        # Unchanged files keep their times, so the build stays incremental.
        if os.path.isfile(source) and not (os.path.exists(target)
                                           and filecmp.cmp(source, target, shallow=False)):
            os.makedirs(os.path.dirname(target), exist_ok=True)
            shutil.copy2(source, target)
    if not os.path.exists(os.path.join(SCRATCH, "build", "build.ninja")):
        subprocess.run(["cmake", "-S", ".", "-B", "build", "-G", "Ninja",
                        "-DCMAKE_BUILD_TYPE=RelWithDebInfo"], cwd=SCRATCH, check=True,
                       stdout=subprocess.DEVNULL)
    if run(["cmake", "--build", "build"]) != 0 or run(["ctest", "--test-dir", "build", "-j2"]):
        sys.exit("mutate: the unmutated tree does not build and pass its tests")


def try_fault(path, text, replacement):
    full = os.path.join(SCRATCH, path)
    with open(full, encoding="utf-8") as f:
        original = f.read()
    if text not in original:
        return "stale"
    with open(full, "w", encoding="utf-8") as f:
        f.write(original.replace(text, replacement, 1))
    try:
        if run(["cmake", "--build", "build"]) != 0:
            return "killed (does not build)"
        failed = run(["ctest", "--test-dir", "build", "-j2", "--stop-on-failure"], timeout=900)
        return "killed" if failed else "survived"
    finally:
        with open(full, "w", encoding="utf-8") as f:
            f.write(original)


def main(filters):
    sync()
    counts = {}
    for name, path, text, replacement in FAULTS:
        if filters and not any(part in name for part in filters):
            continue
        outcome = try_fault(path, text, replacement)
        counts[outcome.split()[0]] = counts.get(outcome.split()[0], 0) + 1
        print(f"{outcome:26} {name} ({path})", flush=True)
    run(["cmake", "--build", "build"])
    print(", ".join(f"{n} {k}" for k, n in sorted(counts.items())))
    return 0 if set(counts) <= {"killed"} else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
