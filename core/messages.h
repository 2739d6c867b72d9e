#pragma once
// Message boxes as the engines and the shell ask for them. A box has a caption, a
// text, an icon and its buttons; the host shows it and returns the answer.

#include <string>

namespace pw {

inline constexpr const char* kAppTitle = "Pagewright v18.0";

enum class MessageIcon { None, Information, Question, Warning };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct MessageBox {
    std::string caption;
    std::string text;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;

    // A box on the host window with a caption of its own, an OK button and no icon.
    static MessageBox Owned(std::string caption, std::string text) {
        return {std::move(caption), std::move(text), MessageIcon::None, MessageButtons::Ok};
    }
    // An application box: the application's title as caption, an OK button.
    static MessageBox Application(std::string text) {
        return {kAppTitle, std::move(text), MessageIcon::None, MessageButtons::Ok};
    }
    // A notice of the main window: the application's title and the information icon.
    static MessageBox Notice(std::string text) {
        return {kAppTitle, std::move(text), MessageIcon::Information, MessageButtons::Ok};
    }
    static MessageBox Question(std::string text, MessageIcon icon = MessageIcon::Question) {
        return {kAppTitle, std::move(text), icon, MessageButtons::YesNo};
    }
};

}  // namespace pw
