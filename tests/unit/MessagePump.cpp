// The unit tests make their windows on the testing thread: every wait of the
// shared test support handles their messages, through the application's
// loop, so that the application-wide message filter sees them as it does in
// the program.
#include "tests/support/Wait.h"
#include "ui/Application.h"

namespace {

[[maybe_unused]] const bool pumpSet = (support::SetMessagePump([] { ui::App().ProcessMessages(); }), true);

} // namespace
