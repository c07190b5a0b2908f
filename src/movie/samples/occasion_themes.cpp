#include "occasion_themes.h"

#include <utility>

namespace samples {

namespace {

struct LinkRecipe {
    const char* caption;
    int go; // 0-based card
};

struct CardRecipe {
    const char* title;
    const char* comment; // lines separated by "\r\n", as the editor stores them
    std::vector<LinkRecipe> links;
};

struct ThemeRecipe {
    const char* name;
    const char* art;         // the picture, button face and tune share this name
    const char* titleColour; // readable on the theme's picture
    const char* commentColour;
    const char* buttonTextColour;
    std::vector<CardRecipe> cards;
};

model::Project Build(const ThemeRecipe& recipe) {
    model::Project p;
    p.settings = model::NewProjectSettings();
    p.settings.m_strButton = std::string("Button\\") + recipe.art + ".png";
    p.settings.m_strButtonTextColor = recipe.buttonTextColour;
    p.settings.m_strMusic = std::string("Music\\") + recipe.art + ".mp3";
    p.settings.m_bPromoteEach = 0;
    for (const CardRecipe& c : recipe.cards) {
        auto card = model::CCardInfo::MakeNew(p.CardCount());
        card->m_strTitle = c.title;
        card->m_strComment = c.comment;
        card->m_strTitleColor = recipe.titleColour;
        card->m_strCommentColor = recipe.commentColour;
        card->m_strBackground = std::string("Background\\") + recipe.art + ".jpg";
        card->m_nBgAlign = 10; // stretched over the stage, whatever its size
        card->m_bProjectBg = 0;
        for (const LinkRecipe& l : c.links) {
            card->m_pLinks->AddLink(l.caption, l.go, 0, -1, "", 0, 0);
        }
        p.cards.push_back(std::move(card));
    }
    return p;
}

const std::vector<ThemeRecipe>& Recipes() {
    static const std::vector<ThemeRecipe> recipes{
        {"Thank You",
         "ThankYou",
         "#7A3B1E",
         "#5A3A2A",
         "#FFFFFF",
         {{"Thank you!",
           "Your kindness made my day brighter.\r\nPress the button to read on.",
           {{"Read on", 1}}},
          {"You are wonderful",
           "For your help, your time and your smile:\r\nthank you from the bottom of my heart.",
           {{"One more thing", 2}, {"Back", 0}}},
          {"With gratitude",
           "I hope I can return the favour soon.\r\n\r\nWarm wishes.",
           {{"Start again", 0}}}}},
        {"Wedding",
         "Wedding",
         "#7A5200",
         "#5A4030",
         "#5A4030",
         {{"Congratulations on your wedding", "Two hearts, one story.\r\nOpen your card.", {{"Open", 1}}},
          {"A toast to the happy couple",
           "May your love grow deeper every year.",
           {{"Next", 2}, {"Back", 0}}},
          {"Our wish for you",
           "Laughter on ordinary days,\r\npatience on hard ones,\r\nand adventures always.",
           {{"Next", 3}}},
          {"With love", "Wishing you a lifetime of happiness together.", {{"Start again", 0}}}}},
        {"New Baby",
         "NewBaby",
         "#2E5C8A",
         "#33475B",
         "#33475B",
         {{"Welcome, little one!",
           "A new star has arrived.\r\nCongratulations to the whole family.",
           {{"Open", 1}}},
          {"Sweet dreams",
           "Tiny fingers, tiny toes,\r\nand a whole world of love.",
           {{"Next", 2}, {"Back", 0}}},
          {"Congratulations",
           "Wishing your family joy, rest and many happy cuddles.",
           {{"Start again", 0}}}}},
        {"Get Well",
         "GetWell",
         "#2F6B2F",
         "#2F4A2F",
         "#FFFFFF",
         {{"Get well soon", "Sending you sunshine and warm thoughts.", {{"Open", 1}}},
          {"Rest and recover",
           "Take it slowly: a cup of tea, a good book,\r\nand plenty of sleep.",
           {{"Next", 2}, {"Back", 0}}},
          {"Thinking of you",
           "We miss you and hope to see you\r\non your feet again soon.",
           {{"Start again", 0}}}}},
        {"Season's Greetings",
         "Seasons",
         "#FFFFFF",
         "#E8F0FF",
         "#FFFFFF",
         {{"Season's greetings", "Warm wishes for the holidays.", {{"Open", 1}}},
          {"Peace and joy", "May your home be full of light and laughter.", {{"Next", 2}, {"Back", 0}}},
          {"A happy new year", "Here is to a year of good health\r\nand new adventures.", {{"Next", 3}}},
          {"With best wishes", "From our home to yours.", {{"Start again", 0}}}}},
        {"Valentine",
         "Valentine",
         "#A0153E",
         "#6A1030",
         "#FFFFFF",
         {{"Be my valentine",
           "Roses are red, violets are blue...\r\nPress the button to read the rest.",
           {{"Read the rest", 1}}},
          {"Just for you", "...every day is brighter because of you.", {{"Will you?", 2}, {"Back", 0}}},
          {"Happy Valentine's Day", "All my love.", {{"Start again", 0}}}}},
        {"Graduation",
         "Graduation",
         "#FFFFFF",
         "#FFE9A8",
         "#3A2A00",
         {{"Congratulations, graduate!", "All that hard work has paid off.", {{"Open", 1}}},
          {"You did it", "Late nights, long books and big exams: done.", {{"Next", 2}, {"Back", 0}}},
          {"What comes next?", "Whatever you choose,\r\nwe know you will shine.", {{"Next", 3}}},
          {"So proud of you", "Here is to the next chapter.", {{"Start again", 0}}}}},
        {"Invitation",
         "Invitation",
         "#5A3A9A",
         "#4A3A2A",
         "#FFFFFF",
         {{"You are invited!",
           "Join us for a party to celebrate.\r\nPress the button for the details.",
           {{"Details", 1}}},
          {"When and where",
           "Saturday at four o'clock at our home.\r\nBring your smile!",
           {{"Can you come?", 2}, {"Back", 0}}},
          {"Can you come?", "Let us know.", {{"Yes, I will come", 3}, {"Sorry, I cannot", 4}}},
          {"Wonderful!", "We look forward to seeing you.", {{"Start again", 0}}},
          {"We will miss you", "Thank you for letting us know.", {{"Start again", 0}}}}},
        {"Farewell",
         "Farewell",
         "#3D2D5C",
         "#3D2D5C",
         "#FFFFFF",
         {{"Farewell", "It is hard to say goodbye.", {{"Open", 1}}},
          {"Thank you for everything",
           "For the laughs, the help\r\nand the good times we shared.",
           {{"Next", 2}, {"Back", 0}}},
          {"Good luck!", "Keep in touch, and all the best on your new path.", {{"Start again", 0}}}}},
    };
    return recipes;
}

} // namespace

std::vector<NamedTheme> OccasionThemes() {
    std::vector<NamedTheme> themes;
    for (const ThemeRecipe& recipe : Recipes()) {
        themes.push_back({recipe.name, Build(recipe)});
    }
    return themes;
}

} // namespace samples
