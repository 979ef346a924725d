#pragma once

// The forms a command prints its findings in. Every command spells them the
// same way on the command line: table, json, csv.
enum class OutputFormat { table, json, csv };
