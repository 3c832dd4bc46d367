#include "symbols/SymbolKeywords.h"

#include <QHash>

namespace {

// The subjects people start an icon from, each with the words the sets' names use for it.
// A word of a row finds every name that has one of the row's words.
const QList<QStringList>& Subjects() {
    static const QList<QStringList> subjects{
        {"weather", "sun",         "sunny",      "cloud",     "cloudy",  "rain",
         "rainy",   "umbrella",    "snow",       "snowflake", "snowing", "thunderstorm",
         "storm",   "lightning",   "wind",       "tornado",   "fog",     "foggy",
         "rainbow", "thermometer", "thermostat", "partly",    "snowman"},
        {"heart", "favorite", "love", "heart"},
        {"love", "heart", "favorite", "kiss"},
        {"like", "thumb", "favorite", "heart"},
        {"music", "note", "notes", "headphones", "guitar", "piano", "album", "audio"},
        {"photo", "camera", "photo", "image", "picture", "gallery"},
        {"mail", "mail", "email", "envelope", "inbox", "letter"},
        {"chat", "chat", "forum", "message", "sms", "speech", "bubble"},
        {"money", "money", "payments", "dollar", "euro", "coin", "bank", "wallet", "banknote"},
        {"shop", "shopping", "cart", "store", "storefront", "bag"},
        {"food", "restaurant", "lunch", "dinner", "pizza", "burger", "bakery", "cake", "fastfood"},
        {"drink", "coffee", "cafe", "bar", "wine", "beer", "tea", "cup", "glass"},
        {"travel", "flight", "airplane", "luggage", "beach", "hotel", "map", "globe"},
        {"car", "car", "directions", "automobile", "taxi", "vehicle"},
        {"game", "sports", "esports", "gamepad", "joystick", "dice", "controller"},
        {"sport", "sports", "ball", "soccer", "basketball", "tennis", "football", "trophy"},
        {"health", "health", "medical", "hospital", "medication", "stethoscope", "pill", "ecg"},
        {"home", "home", "house", "cottage", "cabin"},
        {"settings", "settings", "gear", "tune", "build", "wrench"},
        {"security", "lock", "shield", "key", "security", "encrypted", "locked"},
        {"time", "schedule", "clock", "timer", "alarm", "watch", "hourglass"},
        {"calendar", "calendar", "event", "date", "today"},
        {"person", "person", "account", "face", "user", "people", "man", "woman"},
        {"nature", "forest", "park", "tree", "leaf", "flower", "plant", "mountain", "eco"},
        {"animal", "pets", "dog", "cat", "bird", "fish", "cow", "horse", "pig", "rabbit", "bug",
         "bee"},
        {"education", "school", "book", "graduation", "pencil", "library", "science"},
        {"work", "work", "business", "briefcase", "office"},
        {"code", "code", "terminal", "developer", "bug", "api"},
        {"document", "description", "article", "draft", "page", "file"},
        {"search", "search", "magnifying", "find", "zoom"},
        {"star", "star", "grade", "stars", "sparkles", "glowing"},
        {"fire", "fire", "flame", "whatshot", "burn"},
        {"night", "moon", "bedtime", "star", "nightlight"},
        {"celebration", "celebration", "party", "popper", "confetti", "balloon", "cake", "wrapped"},
        {"phone", "phone", "call", "smartphone", "mobile", "telephone"},
        {"smile", "smiling", "grinning", "mood", "sentiment", "happy", "grin", "face"},
    };
    return subjects;
}

} // namespace

const QStringList& RelatedNameWords(const QString& word) {
    static const QHash<QString, QStringList> table = [] {
        QHash<QString, QStringList> built;
        for (const QStringList& subject : Subjects())
            built[subject.first()] += subject.mid(1);
        return built;
    }();
    static const QStringList none;
    const auto found = table.constFind(word);
    return found == table.constEnd() ? none : *found;
}
