#pragma once
// Where a whole run's time goes. When the environment variable QUELM_STEP_TIMES names a file, the
// program notes the moment each named step ends and, at its end, appends one line to that file: the
// process's creation time and each step's end, as system time in 100 ns units since 1601, so that a
// benchmark outside can set them beside its own clock of the same run. Without the variable a step costs
// the test of one flag.
namespace qr::win::steps {

// Notes that the step `name` (a string literal: it is kept, not copied) ended now.
void Mark(const char* name);

// Notes the step "exit" and appends the line "created=<t> <name>=<t> ..." to the file.
void Finish();

}  // namespace qr::win::steps
