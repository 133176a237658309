#include "promotion/promotion.h"

namespace corvane::promotion {

void Promotion::Label1_Click() {
  if (!form2_) {
    // Read by the engine when the first control of the run is made; once is enough.
    NameProgramForBrowserEmulation();
    form2_ = std::make_unique<Form2>(instance_, open_windows_, dpis_, ole_);
  }
  form2_->Show();
}

}  // namespace corvane::promotion
