#pragma once
// Those who hear a port's traffic, in the order they were added: the port
// tells them its events and its lines, the exchange on it what its replies
// said.

#include <vector>

#include "link/LinkListener.h"

namespace projector {

class Listeners {
  public:
    void add(LinkListener& listener) { listeners_.push_back(&listener); }
    template <typename Call>
    void tell(Call call) {
        for (LinkListener* listener : listeners_) call(*listener);
    }

  private:
    std::vector<LinkListener*> listeners_;
};

}  // namespace projector
