#include "promotion/promotion.h"

namespace corvane::promotion {

void Promotion::Label1_Click() {
  if (!form2_) form2_ = std::make_unique<Form2>(instance_, open_windows_, dpis_, ole_);
  form2_->Show();
}

}  // namespace corvane::promotion
