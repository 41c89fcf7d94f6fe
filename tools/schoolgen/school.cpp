#include "schoolgen/school.h"

#include <array>
#include <random>

#include "base/error.h"
#include "base/text.h"

namespace mirvane::schoolgen {
namespace {

// Names are written here in UTF-8 and stored in Windows-1252, like the
// program's values.
std::string cp(std::string_view utf8) {
    return text::fromUtf8(utf8);
}

constexpr std::array<std::string_view, 40> kSurnames = {
    "García",    "Martínez",  "López",  "Sánchez",   "Pérez",   "Gómez",   "Martín", "Jiménez",
    "Ruiz",      "Hernández", "Díaz",   "Moreno",    "Muñoz",   "Álvarez", "Romero", "Alonso",
    "Gutiérrez", "Navarro",   "Torres", "Domínguez", "Vázquez", "Ramos",   "Gil",    "Ramírez",
    "Serrano",   "Blanco",    "Molina", "Suárez",    "Ortega",  "Delgado", "Castro", "Núñez",
    "Iglesias",  "Cortés",    "Méndez", "Peña",      "Ibáñez",  "Durán",   "Sáez",   "Velasco"};

constexpr std::array<std::string_view, 24> kFirstNames = {
    "María",     "José",    "Antonio", "Carmen",     "Juan",  "Ana",     "Manuel", "Isabel",
    "Francisco", "Dolores", "Ángel",   "Lucía",      "Jesús", "Teresa",  "Raúl",   "Inés",
    "Íñigo",     "Begoña",  "Ramón",   "Concepción", "Sofía", "Joaquín", "Núria",  "Óscar"};

struct SubjectName {
    std::string_view abbreviation;
    std::string_view name;
};

constexpr std::array<SubjectName, 20> kSubjectNames = {{
    {"LCL", "Lengua Castellana y Literatura"},
    {"MAT", "Matemáticas"},
    {"EF", "Educación Física"},
    {"GH", "Geografía e Historia"},
    {"FQ", "Física y Química"},
    {"BG", "Biología y Geología"},
    {"MUS", "Música"},
    {"TEC", "Tecnología"},
    {"ING", "Inglés"},
    {"FRA", "Francés"},
    {"LAT", "Latín"},
    {"GRI", "Griego"},
    {"FIL", "Filosofía"},
    {"ECO", "Economía"},
    {"DT", "Dibujo Técnico"},
    {"REL", "Religión"},
    {"VE", "Valores Éticos"},
    {"EPV", "Educación Plástica, Visual y Audiovisual"},
    {"TIC", "Tecnologías de la Información y la Comunicación"},
    {"PSI", "Psicología"},
}};

constexpr std::array<SubjectName, 5> kTaskNames = {{
    {"GUA", "Guardia"},
    {"TUT", "Tutoría"},
    {"RD", "Reunión de Departamento"},
    {"BIB", "Guardia de Biblioteca"},
    {"JD", "Jefatura de Departamento"},
}};

constexpr std::array<std::string_view, 8> kRoomNames = {"Aula",
                                                        "Laboratorio de Química",
                                                        "Gimnasio",
                                                        "Taller de Tecnología",
                                                        "Biblioteca",
                                                        "Sala de Música",
                                                        "Aula de Informática",
                                                        "Aula de Dibujo"};

constexpr std::array<std::string_view, 4> kLevels = {"ESO", "BACH", "FPB", "CFGM"};
constexpr std::array<std::string_view, 10> kMinutes = {"55", "110", "165", "220", "60",
                                                       "90", "120", "180", "240", "275"};
constexpr std::string_view kWeekdays = "LMXJV";

// A small deterministic generator: the same seed gives the same school on
// every platform (the standard distributions are not portable).
class Dice {
  public:
    explicit Dice(std::uint32_t seed) : engine_(seed) {}
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(engine_() % n); }
    bool oneIn(std::size_t n) { return below(n) == 0; }
    template <typename List>
    auto pick(const List& list) {
        return list[below(list.size())];
    }

  private:
    std::mt19937 engine_;
};

std::string padded(std::string_view text, std::size_t width, std::size_t number) {
    std::string digits = std::to_string(number);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return std::string(text) + digits;
}

std::string swapCase(std::string code) {
    for (char& c : code) c = c == text::toUpper(c) ? text::toLower(c) : text::toUpper(c);
    return code;
}

std::vector<Subject> makeSubjects(int count, Dice& dice) {
    std::vector<Subject> subjects;
    for (int i = 0; i < count; ++i) {
        const auto n = static_cast<std::size_t>(i);
        Subject subject;
        if (i > 0 && i % 97 == 0) {
            // The same code in another letter case: Delphos sends such
            // repetitions, and only the first one counts.
            subject = subjects[dice.below(subjects.size())];
            subject.cod = swapCase(subject.cod);
            subject.nombre += cp(" (repetida)");
        } else if (i % 9 == 4) {
            const SubjectName task = dice.pick(kTaskNames);
            subject.materia = padded("G", 4, 100 + n);
            subject.cod = padded(task.abbreviation, 3, n);
            subject.nombre = cp(task.name);
        } else {
            const SubjectName name = dice.pick(kSubjectNames);
            const int year = 1 + static_cast<int>(dice.below(4));
            subject.materia = padded("", 6, 300000 + n * 7);
            subject.cod = padded(name.abbreviation, 2, n) + "-" + std::to_string(year);
            subject.nombre = cp(name.name) + " " + std::to_string(year) + cp("º");
        }
        subject.codLargo = dice.oneIn(6) ? std::string() : subject.cod + "L";
        if (i % 53 == 7) subject.nombre = "  " + subject.nombre + " \t";  // Delphos' padding
        subjects.push_back(std::move(subject));
    }
    return subjects;
}

std::vector<Teacher> makeTeachers(int count, Dice& dice) {
    std::vector<Teacher> teachers;
    for (int i = 0; i < count; ++i) {
        const auto n = static_cast<std::size_t>(i);
        if (i > 0 && i % 71 == 0) {  // the same teacher twice
            teachers.push_back(teachers.back());
            continue;
        }
        const std::string first = cp(dice.pick(kFirstNames));
        const std::string surname1 = cp(dice.pick(kSurnames));
        const std::string surname2 = cp(dice.pick(kSurnames));
        Teacher teacher;
        teacher.xEmpleado = padded("", 6, 100000 + n * 13);
        teacher.fTomapos =
            padded("", 2, 1 + dice.below(28)) + "/09/" + std::to_string(1990 + dice.below(35));
        teacher.nombre = surname1 + " " + surname2 + ", " + first;
        teacher.abrev =
            std::string{surname1.front(), surname2.front(), first.front()} + std::to_string(n);
        teachers.push_back(std::move(teacher));
    }
    return teachers;
}

std::vector<Room> makeRooms(int count, Dice& dice) {
    std::vector<Room> rooms;
    for (int i = 0; i < count; ++i) {
        const auto n = static_cast<std::size_t>(i);
        Room room;
        room.depcentro = padded("D", 6, 5000 + n);
        room.abrev = i % 17 == 3 ? std::string("   ") : padded("A", 3, 100 + n);
        const std::string_view kind = i < 8 ? kRoomNames[n] : dice.pick(kRoomNames);
        room.nombre = cp(kind) + " " + std::to_string(n / 10) + "." + padded("", 2, n % 10);
        room.edificio = dice.oneIn(4) ? "Anexo" : "Principal";
        rooms.push_back(std::move(room));
    }
    return rooms;
}

std::vector<Group> makeGroups(int count, Dice& dice) {
    std::vector<Group> groups;
    for (int i = 0; i < count; ++i) {
        const auto n = static_cast<std::size_t>(i);
        Group group;
        const std::string level(kLevels[n % kLevels.size()]);
        group.curso = std::to_string(1 + (n / kLevels.size()) % 4);
        group.grupo = std::string(1, static_cast<char>('A' + (n / 16) % 6));
        group.turno = dice.oneIn(5) ? "T" : (dice.oneIn(3) ? cp("MAÑANA") : "M");
        group.nivel = i % 23 == 5 ? std::string() : level;
        group.unidad = group.curso + level + "-" + group.grupo + std::to_string(n / 96);
        group.abrev = group.curso + level.substr(0, 1) + group.grupo + std::to_string(n);
        groups.push_back(std::move(group));
    }
    return groups;
}

std::vector<Assignment> makeAssignments(const School& school, int count, Dice& dice) {
    std::vector<Assignment> assignments;
    if (school.groups.empty() || school.subjects.empty() || school.rooms.empty() ||
        school.teachers.empty())
        return assignments;
    for (int i = 0; i < count; ++i) {
        const Group& group = school.groups[dice.below(school.groups.size())];
        const Subject& subject = school.subjects[dice.below(school.subjects.size())];
        const Room& room = school.rooms[dice.below(school.rooms.size())];
        Assignment a;
        a.casig = subject.cod;
        a.cgrup = group.abrev;
        a.caula = room.abrev;
        a.turno = group.turno;
        a.nivel = group.nivel;
        a.curso = group.curso;
        a.grupo = group.grupo;
        a.minutos = i % 31 == 11 ? std::string() : std::string(dice.pick(kMinutes));
        a.materia = subject.materia;
        if (i % 211 == 17) a.materia = padded("G", 4, 9000 + static_cast<std::size_t>(i));
        a.teacher = dice.below(school.teachers.size());
        assignments.push_back(std::move(a));
    }
    return assignments;
}

// Monday defines the slots: lessons of 55 minutes, a break of 30 after the
// third slot and one of 15 after the sixth.
std::vector<Slot> makeSlots(int days, int slotsPerDay) {
    std::vector<Slot> slots;
    for (int day = 0; day < days; ++day) {
        int start = 8 * 60;
        for (int s = 1; s <= slotsPerDay; ++s) {
            const int minutes = s == 4 ? 30 : s == 7 ? 15 : 55;
            Slot slot;
            slot.codigoDelphos = std::to_string(7000 + day * 100 + s);
            slot.nombre =
                std::string(1, kWeekdays[static_cast<std::size_t>(day) % 5]) + std::to_string(s);
            slot.minutos = std::to_string(minutes);
            auto hhmm = [](int m) {
                return padded("", 2, m / 60 % 100) + ":" + padded("", 2, m % 60);
            };
            slot.inicio = hhmm(start);
            slot.fin = hhmm(start + minutes);
            start += minutes;
            slots.push_back(std::move(slot));
        }
    }
    return slots;
}

}  // namespace

SchoolSize schoolSize() {
    return {150, 80, 60, 600, 2500, 5, 14};
}

SchoolSize stressSize() {
    return {1500, 800, 600, 6000, 25000, 5, 14};
}

SchoolSize sizeNamed(std::string_view name) {
    if (name == "school") return schoolSize();
    if (name == "stress") return stressSize();
    fail("Tamaño desconocido: " + std::string(name) + " (school o stress)");
}

School generateSchool(const SchoolSize& size, std::uint32_t seed) {
    Dice dice(seed);
    School school;
    school.days = size.days;
    school.slotsPerDay = size.slotsPerDay;
    school.subjects = makeSubjects(size.subjects, dice);
    school.teachers = makeTeachers(size.teachers, dice);
    school.rooms = makeRooms(size.rooms, dice);
    school.groups = makeGroups(size.groups, dice);
    school.assignments = makeAssignments(school, size.assignments, dice);
    school.slots = makeSlots(size.days, size.slotsPerDay);
    return school;
}

}  // namespace mirvane::schoolgen
