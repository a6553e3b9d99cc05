#pragma once

#include <QString>

#include "TCVelmar.h"

// What the report tells of the run besides the engine's outcome.
struct ReportRun {
    QString source;  // as given on the command line
    QString server;
    QString database;
    QString user;
    qint32 errorMode = 0;
};

// Writes the run as a JUnit XML report for pipelines' result panels: one test case per script
// played, the scripts a stop left as skipped ones, or a single error case for a run that
// could not be carried out. Written to a temporary file beside `file`, then renamed over it,
// so that a reader never sees half a report. Answers why it could not be written, or an
// empty text.
QString WriteJUnitReport(const QString& file, const ReportRun& run, const LoadOutcome& outcome);
