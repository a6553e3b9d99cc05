#!/usr/bin/env python3
"""Generates the inputs of bench/compare.sh, so that nothing large is committed.

Every script is written together with its batches, cut where its GO lines are, in the
bare loop's batch file (UTF-16LE; U+001E after each batch, U+001D after each script).

  make_inputs.py folder DIR N        DIR/scripts/*.sql (N scripts of 5 batches), DIR/list.txt
                                     naming them, DIR/folder.batches, DIR/folder.go.sql (all
                                     scripts and their checks in one file, for the peers)
  make_inputs.py script FILE MIB     one data-load script of about MIB MiB, FILE.batches
  make_inputs.py list DIR N          a list file of N lines (half distinct scripts of one
                                     batch, a quarter repeats in other letter case, a quarter
                                     blank) in DIR/list.txt, the scripts in DIR/scripts/
"""
import os
import sys

BATCH_END, SCRIPT_END = "\x1e", "\x1d"
# What the engine sends after each script's last batch.
STATE_QUERY = "select @@trancount, db_name(), @@options"


def procedure_batches(i):
    name = f"P{i:06d}"
    return [
        f"if object_id('dbo.{name}') is not null drop procedure dbo.{name}\r\n",
        f"\r\n-- Procédure générée : lecture d'un client et de sa catégorie\r\n"
        f"create procedure dbo.{name} @id int as\r\nbegin\r\n  set nocount on\r\n"
        f"  select c.id, c.name, c.category from dbo.Customer c where c.id = @id\r\nend\r\n",
        f"\r\ngrant execute on dbo.{name} to app_role\r\n",
        f"\r\nexec sp_addextendedproperty 'MS_Description', 'Proc {name}', 'schema', 'dbo', "
        f"'procedure', '{name}'\r\n",
        f"\r\nupdate dbo.Versions set version = {i} where name = '{name}'\r\n",
    ]


def data_load_batches(size):
    """Batches of 100 inserted rows, the way generated data loads come, until `size` bytes."""
    batches, total, row = [], 0, 0
    while total < size:
        rows = []
        for _ in range(100):
            row += 1
            rows.append(f"({row}, 'Client {row}', 'Montréal', 'Société n° {row % 997}', "
                        f"{row % 100000}.{row % 100:02d})")
        text = ("\r\ninsert into dbo.Clients (id, nom, ville, societe, solde) values\r\n"
                + ",\r\n".join(rows) + "\r\n")
        batches.append(text)
        total += len(text.encode("utf-8")) + 2
    batches[0] = batches[0][2:]
    return batches


def script_text(batches):
    return "GO".join(batches)


def write_text(path, text, encoding="utf-8"):
    with open(path, "w", encoding=encoding, newline="") as f:
        f.write(text)


def batch_file_text(scripts):
    return "".join(BATCH_END.join(b) + BATCH_END + SCRIPT_END for b in scripts)


def write_scripts(folder, scripts):
    os.makedirs(folder, exist_ok=True)
    paths = []
    for i, batches in enumerate(scripts):
        paths.append(os.path.join(folder, f"P{i:06d}.sql"))
        write_text(paths[-1], script_text(batches))
    return paths


def folder(out, count):
    scripts = [procedure_batches(i) for i in range(count)]
    paths = write_scripts(os.path.join(out, "scripts"), scripts)
    write_text(os.path.join(out, "list.txt"), "".join(p + "\r\n" for p in paths))
    write_text(os.path.join(out, "folder.batches"), batch_file_text(scripts), "utf-16-le")
    go = "go\r\n"
    write_text(os.path.join(out, "folder.go.sql"),
               "".join(go.join(b) + go + STATE_QUERY + "\r\n" + go for b in scripts))


def script(path, mib):
    batches = data_load_batches(int(mib * 1024 * 1024))
    write_text(path, script_text(batches))
    write_text(path + ".batches", batch_file_text([batches]), "utf-16-le")


def listing(out, lines):
    scripts = [[f"select {i}\r\n"] for i in range(lines // 2)]
    paths = write_scripts(os.path.join(out, "scripts"), scripts)
    text = []
    for a in range(0, len(paths) - 1, 2):
        upper = os.path.join(os.path.dirname(paths[a]), os.path.basename(paths[a]).upper())
        text += [paths[a], paths[a + 1], "", upper]
    write_text(os.path.join(out, "list.txt"), "\r\n".join(text) + "\r\n")


def main(argv):
    kind, out, n = argv[1], argv[2], argv[3]
    {"folder": lambda: folder(out, int(n)), "script": lambda: script(out, float(n)),
     "list": lambda: listing(out, int(n))}[kind]()


if __name__ == "__main__":
    main(sys.argv)
