#include "cli/usage.h"

#include <algorithm>
#include <memory>
#include <sstream>

namespace mirvane::cli {
namespace {

// CLI11's formatter with every text of its own in Spanish.
class SpanishFormatter : public CLI::Formatter {
  public:
    SpanishFormatter() {
        label("Usage", "Uso");
        label("OPTIONS", "OPCIONES");
        label("SUBCOMMAND", "SUBCOMANDO");
        label("SUBCOMMANDS", "SUBCOMANDOS");
        label("Positionals", "Posicionales");
        label("TEXT", "TEXTO");
        label("INT", "ENTERO");
        label("FLOAT", "NÚMERO");
    }

    // Only the description: the base adds English notes to it.
    std::string make_description(const CLI::App* app) const override {
        const std::string description = app->get_description();
        return description.empty() ? description : description + "\n";
    }

    std::string make_option_opts(const CLI::Option* option) const override {
        if (!option->get_option_text().empty()) return " " + option->get_option_text();
        std::string out;
        if (option->get_type_size() != 0) {
            const std::string type = typeName(option->get_type_name());
            if (!type.empty()) out += " " + type;
            if (!option->get_default_str().empty()) out += "=" + option->get_default_str();
            if (option->get_required()) out += " (obligatorio)";
        }
        if (!option->get_needs().empty()) out += " (necesita " + names(option->get_needs()) + ")";
        if (!option->get_excludes().empty())
            out += " (excluye " + names(option->get_excludes()) + ")";
        return out;
    }

  private:
    // A type name such as "TEXT:FILE", each part through its label.
    std::string typeName(const std::string& name) const {
        std::string out;
        std::istringstream parts(name);
        for (std::string part; std::getline(parts, part, ':');)
            out += (out.empty() ? "" : ":") + get_label(part);
        return out;
    }

    static std::string names(const std::set<CLI::Option*>& options) {
        std::string out;
        for (const CLI::Option* option : options)
            out += (out.empty() ? "" : ", ") + option->get_name();
        return out;
    }
};

// "a", "a y b", "a, b y c" (or "o").
std::string listed(const std::vector<std::string>& items, const char* last = " y ") {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i)
        out += (i == 0 ? "" : i + 1 == items.size() ? last : ", ") + items[i];
    return out;
}

std::string quoted(const std::string& text) {
    return "«" + text + "»";
}

bool looksLikeOption(const std::string& argument) {
    return argument.size() > 1 && argument[0] == '-';
}

// The subcommand being parsed, or the program itself before one was named.
const CLI::App& commandOf(const CLI::App& app) {
    const std::vector<CLI::App*> parsed = app.get_subcommands();
    return parsed.empty() ? app : *parsed.back();
}

std::string commandName(const CLI::App& command) {
    const CLI::App* parent = command.get_parent();
    return parent ? parent->get_name() + " " + command.get_name() : command.get_name();
}

bool isFlag(const CLI::Option& option) {
    return option.get_expected_max() == 0;
}

std::vector<const CLI::Option*> given(const CLI::App& command) {
    return command.get_options([](const CLI::Option* option) { return option->count() > 0; });
}

// The option of `command` that `argument` names, as "--x" or "--x=value".
const CLI::Option* optionNamed(const CLI::App& command, const std::string& argument) {
    if (!looksLikeOption(argument)) return nullptr;
    const std::string name = argument.substr(0, argument.find('='));
    for (const CLI::Option* option : command.get_options())
        if (option->nonpositional() && option->check_name(name)) return option;
    return nullptr;
}

std::string missingSubcommand(const CLI::App& app) {
    std::vector<std::string> known;
    for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; }))
        known.push_back(sub->get_name());
    for (const std::string& extra : app.remaining(true)) {
        if (!looksLikeOption(extra))
            return quoted(extra) + " no es un subcomando de " + app.get_name() + "; use " +
                   listed(known, " o ");
        return app.get_name() + " no tiene la opción " + quoted(extra);
    }
    return "Falta el subcomando: " + listed(known, " o ");
}

std::string missingArgument(const CLI::App& command) {
    for (const CLI::Option* option : command.get_options()) {
        if (!option->get_required() || option->count() > 0) continue;
        if (option->nonpositional()) return "Falta la opción " + option->get_name();
        return "Falta el argumento " + option->get_name();
    }
    return "Faltan argumentos";
}

// The options given together that one of them excludes, or that lack one
// they need.
std::string conflict(const CLI::App& command, bool excludes) {
    for (const CLI::Option* option : given(command)) {
        for (const CLI::Option* other : excludes ? option->get_excludes() : option->get_needs()) {
            if (excludes && other->count() > 0)
                return option->get_name() + " y " + other->get_name() + " no pueden ir juntas";
            if (!excludes && other->count() == 0)
                return option->get_name() + " necesita " + other->get_name();
        }
    }
    return "Hay opciones que no pueden ir así";
}

// An option of the subcommand given before its name ("mirvane-cli --carpeta
// DIR exportar …"): CLI11 then leaves nothing over to name.
std::string optionBeforeSubcommand(const CLI::App& command,
                                   const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == command.get_name()) break;
        if (const CLI::Option* option = optionNamed(command, argument))
            return "La opción " + quoted(option->get_name()) + " va después del subcomando: " +
                   quoted(commandName(command) + " … " + option->get_name() +
                          (isFlag(*option) ? "" : " " + option->get_type_name()));
    }
    return {};
}

std::string extras(const CLI::App& command, const std::vector<std::string>& arguments) {
    const std::vector<std::string> remaining = command.remaining(true);
    const auto option = std::find_if(remaining.begin(), remaining.end(), looksLikeOption);
    if (option != remaining.end())
        return commandName(command) + " no tiene la opción " + quoted(*option);
    if (remaining.empty()) {
        const std::string misplaced = optionBeforeSubcommand(command, arguments);
        return misplaced.empty() ? "Sobran argumentos" : misplaced;
    }
    std::vector<std::string> words;
    for (const std::string& word : remaining) words.push_back(quoted(word));
    return (words.size() == 1 ? "Sobra " : "Sobran ") + listed(words);
}

// An option given more often than it takes values, or whose value is
// missing: the arguments ran out right after it.
std::string mismatch(const CLI::App& command, const std::vector<std::string>& arguments) {
    for (const CLI::Option* option : given(command))
        if (!isFlag(*option) &&
            option->count() > static_cast<std::size_t>(option->get_items_expected_max()))
            return option->get_name() + " se ha dado más de una vez";
    if (!arguments.empty())
        if (const CLI::Option* option = optionNamed(command, arguments.back()))
            return "Falta el valor de " + option->get_name();
    return "Falta o sobra el valor de una opción";
}

// A value the option cannot take: a flag given one ("--x=si").
std::string conversion(const CLI::App& command, const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        const CLI::Option* option = optionNamed(command, argument);
        if (option && isFlag(*option) && argument.find('=') != std::string::npos)
            return option->get_name() + " no lleva valor";
    }
    return "El valor de una opción no es válido";
}

std::string whatIsWrong(const CLI::App& app, const CLI::Error& error,
                        const std::vector<std::string>& arguments) {
    const CLI::App& command = commandOf(app);
    if (dynamic_cast<const CLI::RequiredError*>(&error))
        return &command == &app ? missingSubcommand(app) : missingArgument(command);
    if (dynamic_cast<const CLI::ExcludesError*>(&error)) return conflict(command, true);
    if (dynamic_cast<const CLI::RequiresError*>(&error)) return conflict(command, false);
    if (dynamic_cast<const CLI::ExtrasError*>(&error)) return extras(command, arguments);
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error)) return mismatch(command, arguments);
    if (dynamic_cast<const CLI::ConversionError*>(&error)) return conversion(command, arguments);
    // "OPCIÓN: " and the text of the option's own check, which is ours.
    if (dynamic_cast<const CLI::ValidationError*>(&error)) return error.what();
    return "Los argumentos no son válidos";
}

}  // namespace

namespace {

void speakSpanish(CLI::App& app, const std::shared_ptr<SpanishFormatter>& formatter) {
    app.formatter(formatter);
    for (CLI::Option* option : app.get_options())
        if (option->get_group() == "Options") option->group("Opciones");
    if (CLI::Option* help = app.get_help_ptr()) help->description("Muestra esta ayuda y termina");
    if (CLI::Option* version = app.get_version_ptr())
        version->description("Muestra la versión y termina");
    for (CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
        command->group("Subcomandos");
        speakSpanish(*command, formatter);
    }
}

}  // namespace

void speakSpanish(CLI::App& app) {
    speakSpanish(app, std::make_shared<SpanishFormatter>());
}

std::string usageErrorLine(const CLI::App& app, const CLI::Error& error,
                           const std::vector<std::string>& arguments) {
    std::string line = whatIsWrong(app, error, arguments);
    if (line.back() != '.') line += ".";
    return line + " Pruebe " + quoted(commandName(commandOf(app)) + " --help") + ".\n";
}

}  // namespace mirvane::cli
