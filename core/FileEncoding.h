#pragma once

// How the report and CSV data files are written: CP932 unless a text cannot
// be represented there, then UTF-8 with a byte-order mark; or UTF-8 always.
enum class FileEncoding { Cp932OrUtf8, Utf8 };
