// The About box every component shows from its About member.
#pragma once

namespace frame {

// Shows the box modally and returns when the user has pressed its button.
void ShowAboutBox();

}  // namespace frame
