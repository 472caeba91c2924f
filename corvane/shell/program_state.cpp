#include "corvane/shell/program_state.h"

namespace corvane {

ProgramState& programState() {
  static ProgramState state;
  return state;
}

}  // namespace corvane
