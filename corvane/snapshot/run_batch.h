// The worker's body for ReqExecuteBatch: applies the start types or the states of BatchList.
#pragma once

namespace corvane {

class batch;

// Ends the request in every case (with refresh). A termination request stops the batch at the
// next entry whose service is in the catalogue and sets BatchCanceled.
void RunBatch(batch& worker);

}  // namespace corvane
