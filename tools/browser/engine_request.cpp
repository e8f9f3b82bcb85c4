#include "browser/engine_request.h"

#include <cstring>
#include <optional>
#include <vector>

namespace velkano::tool {

namespace {

constexpr const char* kOptions = "/options";

const char* kindName(GroupKind kind) {
    switch (kind) {
        case GroupKind::flights:
            return "flights";
        case GroupKind::task:
            return "task";
        case GroupKind::build:
            return "build";
        case GroupKind::other:
            break;
    }
    return "other";
}

bool flag(const Json& value, const std::string& where) {
    if (!value.is_boolean()) throw JsonError(where, "not true or false");
    return value.get<bool>();
}

template <typename Choice>
Choice named(const Json& value, const std::string& where,
             std::optional<Choice> (*lookUp)(std::string_view), const char* names) {
    const std::optional<Choice> chosen =
        value.is_string() ? lookUp(value.get_ref<const std::string&>()) : std::nullopt;
    if (!chosen) throw JsonError(where, std::string("not one of ") + names);
    return *chosen;
}

std::optional<CupColumns> cupColumns(const Json& value) {
    if (value == static_cast<int>(CupColumns::current)) return CupColumns::current;
    if (value == static_cast<int>(CupColumns::classic)) return CupColumns::classic;
    return std::nullopt;
}

std::string text(const Json& value, const std::string& where) {
    if (!value.is_string()) throw JsonError(where, "not a string");
    return value.get<std::string>();
}

Json texts(const std::vector<std::string>& lines) {
    Json array = Json::array();
    for (const std::string& line : lines) array.push_back(line);
    return array;
}

GroupResult refusedRequest(const JsonError& e) {
    GroupResult result;
    result.errors.push_back("the page's request " + e.pointer() + ": " + e.what());
    return result;
}

// All but the view, whose member is null here: convertRequest puts the view's text there.
Json resultToJson(const GroupResult& result) {
    Json downloads = Json::array();
    for (const Download& download : result.downloads) {
        downloads.push_back(
            {{"name", download.name}, {"path", download.path}, {"mime", download.mime}});
    }
    Json json = Json::object();
    json["kind"] = kindName(result.kind);
    json["errors"] = texts(result.errors);
    json["notes"] = texts(result.notes);
    json["report"] = result.report;
    json["table"] = result.table;
    json["downloads"] = std::move(downloads);
    json["view"] = nullptr;
    return json;
}

}  // namespace

PageOptions pageOptions(const Json& options) {
    if (!options.is_object()) throw JsonError(kOptions, "not an object");
    PageOptions page;
    for (const auto& [name, value] : options.items()) {
        const std::string where = childPointer(kOptions, name);
        if (name == "text") {
            page.flightText.charset = named(value, where, igcCharsetNamed, "utf-8, ascii, raw");
        } else if (name == "lineEnding") {
            page.flightText.lineEnding = named(value, where, lineEndingNamed, "crlf, lf");
        } else if (name == "cupColumns") {
            const std::optional<CupColumns> columns = cupColumns(value);
            if (!columns) throw JsonError(where, "not 14 or 11");
            page.cupColumns = *columns;
        } else if (name == "strict") {
            page.cupRead.strict = flag(value, where);
        } else if (name == "skipBadRows") {
            page.cupRead.skipBadRows = flag(value, where);
        } else {
            throw JsonError(where, "no such option");
        }
    }
    return page;
}

std::string convertRequest(std::string_view request) {
    GroupResult result;
    try {
        const Json json = parseJson(request);
        if (!json.is_object()) throw JsonError("", "not an object");
        const auto files = json.find("files");
        if (files == json.end() || !files->is_array() || files->empty())
            throw JsonError("/files", "not a list of files");
        std::vector<std::string> paths;
        for (size_t i = 0; i < files->size(); ++i)
            paths.push_back(text((*files)[i], childPointer("/files", i)));
        const auto output = json.find("output");
        if (output == json.end()) throw JsonError("/output", "missing");
        const auto options = json.find("options");
        result = convertGroup(paths, text(*output, "/output"),
                              options == json.end() ? PageOptions() : pageOptions(*options));
    } catch (const JsonError& e) {
        result = refusedRequest(e);
    }
    // Texts from files are UTF-8 by now; a name the page passed through may not be.
    std::string text = resultToJson(result).dump(-1, ' ', false, Json::error_handler_t::replace);
    // The view data is JSON text already, too large to make a value of again: it goes in the
    // place of the null that stands for it, the text's last member.
    if (!result.view.empty()) text.replace(text.size() - std::strlen("null}"), 4, result.view);
    return text;
}

}  // namespace velkano::tool
