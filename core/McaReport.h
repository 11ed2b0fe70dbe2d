#pragma once

#include "core/FileEncoding.h"
#include "core/McaPrepare.h"

class ReportSink;

// The report of a questionnaire's multiple correspondence analysis, in the
// manner of the table report (Japanese headings, CP932 unless a text needs
// UTF-8, CR LF): the respondents and questions with their categories and
// counts, the table of dimensions with every inertia, per question the
// categories' standard and principal coordinates, the supplementary
// categories, the discrimination measures and the correlations of the
// quantitative questions. A category's name closes its line, so that the
// numbers stay in columns whatever the names' widths.
void WriteMcaReport(const QuestionnaireSheet &sheet, const McaPrepared &prepared,
    const McaSolution &solution, FileEncoding encoding, ReportSink &sink);
