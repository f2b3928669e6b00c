// The options answered before the program starts: which one a command line asks for.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/app/InfoOptions.h"

namespace pelko::ui {
namespace {

InfoRequest Request(std::vector<std::string> words) {
    words.insert(words.begin(), "pelko");
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    return FindInfoRequest(argv);
}

TEST(InfoOptionsTest, TheFirstHelpOrVersionOptionCountsAndAFolderNamedLikeOneDoesNot) {
    const struct {
        std::vector<std::string> words;
        InfoRequest request;
    } cases[] = {
        {{}, InfoRequest::None},
        {{"--no-splash"}, InfoRequest::None},
        {{"--help"}, InfoRequest::Help},
        {{"-h"}, InfoRequest::Help},
        {{"--version"}, InfoRequest::Version},
        {{"-v", "--help"}, InfoRequest::Version},
        {{"--catalog", "/tmp/x", "--version"}, InfoRequest::Version},
        {{"--catalog", "--help"}, InfoRequest::None},
        {{"--", "--help"}, InfoRequest::None},
        {{"--helpful"}, InfoRequest::None},
    };
    for (const auto& c : cases) {
        std::string line;
        for (const std::string& word : c.words) line += word + " ";
        EXPECT_EQ(Request(c.words), c.request) << line;
    }
    EXPECT_NE(PelkoHelpText().find("--catalog DIR"), std::string::npos);
    EXPECT_EQ(PelkoVersionText().rfind("pelko ", 0), 0u);
}

}  // namespace
}  // namespace pelko::ui
