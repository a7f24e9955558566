#pragma once

namespace app {

// The addresses of the Help menu's three web pages: the project's page, its
// entry in the desktop's software centre (AppStream), and the online help.
inline constexpr const char* kProductPageURL = "https://joinclip.example.org/";
inline constexpr const char* kStorePageURL = "appstream://org.example.joinclip.JoinClip";
inline constexpr const char* kHelpPageURL = "https://joinclip.example.org/help/";

} // namespace app
