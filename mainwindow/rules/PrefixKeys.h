// The key filter of the renumber dialog's prefix: the prefix takes only a dotted number ("1.2."), while
// editing keys and the right Ctrl key's clipboard shortcuts pass.
#pragma once

namespace lf::keys
{

// Whether a typed character reaches the prefix field (characters as typed: 8 Backspace, 13 Enter,
// 27 Esc, a control character for Ctrl with a letter, "V" giving 22).
bool PrefixKeyPasses(char32_t typed, bool leftCtrlDown, bool rightCtrlDown);

} // namespace lf::keys
