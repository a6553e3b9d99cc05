#!/usr/bin/env python3
"""A peer: the bare loop's batches sent from Python through pyodbc, the same driver.

pyodbc_loop.py CONNECTION-STRING BATCH-FILE (the bare loop's batch file, see make_inputs.py)
"""
import sys

import pyodbc

BATCH_END, SCRIPT_END = "\x1e", "\x1d"


def execute(connection, sql):
    cursor = connection.cursor()
    cursor.execute(sql)
    while cursor.nextset():
        pass
    cursor.close()


def read_state(connection):
    cursor = connection.cursor()
    state = tuple(cursor.execute("select @@trancount, db_name(), @@options").fetchone())
    while cursor.nextset():
        pass
    cursor.close()
    return state


def main(connection_string, batch_file):
    with open(batch_file, encoding="utf-16-le", newline="") as f:
        scripts = f.read().split(SCRIPT_END)[:-1]
    # Autocommit, as the other clients run: no transaction requests around the batches.
    connection = pyodbc.connect(connection_string, autocommit=True, timeout=15)
    connection.timeout = 120
    execute(connection, "set quoted_identifier off")
    start = read_state(connection)
    for script in scripts:
        for batch in script.split(BATCH_END)[:-1]:
            execute(connection, batch)
        if read_state(connection) != start:
            sys.exit("a script changed the session's state")
    connection.close()


if __name__ == "__main__":
    main(*sys.argv[1:])
