#include "corvane/engine/request_state.h"

namespace corvane {

RequestState& requestState() {
  static RequestState state;
  return state;
}

}  // namespace corvane
