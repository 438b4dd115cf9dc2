#include "support/FakePlatform.h"

MessageResult FakePlatform::ShowMessage(const std::string& text, MessageKind kind, MessageButtons buttons) {
    Messages.push_back({text, kind, buttons});
    if (buttons == MessageButtons::Ok) return MessageResult::Ok;
    if (Answers.empty()) return MessageResult::No;
    MessageResult answer = Answers.front();
    Answers.pop_front();
    return answer;
}

bool FakePlatform::OpenUrl(const std::string& url) {
    OpenedUrls.push_back(url);
    return UrlOpens;
}

std::vector<std::string> FakePlatform::MessageTexts() const {
    std::vector<std::string> texts;
    for (const Message& m : Messages)
        texts.push_back(m.Text);
    return texts;
}

FakeDisplayTarget::FakeDisplayTarget(int width, int height, uint32_t fill)
    : W(width), H(height), Pixels(static_cast<size_t>(width) * height, fill) {}
