#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A synthetic school as a data model: the records of each exchange section,
// field by field in the order the exchange document holds them. Every text is
// Windows-1252, as the program's own values are. The writers of this folder
// turn a model into files (the exchange document, a solution table).
namespace mirvane::schoolgen {

struct Subject {          // "MATERIAS"
    std::string materia;  // Delphos subject code; "G…" for a task subject
    std::string cod;
    std::string codLargo;
    std::string nombre;
};

struct Teacher {  // "PROFESORES"
    std::string xEmpleado;
    std::string fTomapos;
    std::string nombre;
    std::string abrev;
};

struct Room {  // "AULAS"
    std::string depcentro;
    std::string abrev;  // may be blank: the table then takes depcentro
    std::string nombre;
    std::string edificio;
};

struct Group {  // "GRUPOS"
    std::string unidad;
    std::string abrev;
    std::string turno;
    std::string nivel;  // may be blank: the table then holds "NIV"
    std::string curso;
    std::string grupo;
};

struct Assignment {     // "ASIGNATURAS"
    std::string casig;  // a subject's cod
    std::string cgrup;  // a group's abrev
    std::string caula;  // a room's abrev
    std::string turno;
    std::string nivel;
    std::string curso;
    std::string grupo;
    std::string minutos;      // minutes a week
    std::string materia;      // the subject's Delphos code
    std::size_t teacher = 0;  // index into School::teachers (not in the document)
};

struct Slot {  // "TRAMOS", read by labels
    std::string codigoDelphos;
    std::string nombre;  // slot code: weekday letter and slot number, "L1"
    std::string minutos;
    std::string inicio;
    std::string fin;
};

struct School {
    std::vector<Subject> subjects;
    std::vector<Teacher> teachers;
    std::vector<Room> rooms;
    std::vector<Group> groups;
    std::vector<Assignment> assignments;
    std::vector<Slot> slots;  // weekday by weekday, Monday first
    int days = 0;
    int slotsPerDay = 0;
};

struct SchoolSize {
    int teachers = 0;
    int groups = 0;
    int rooms = 0;
    int subjects = 0;
    int assignments = 0;
    int days = 0;
    int slotsPerDay = 0;
};

// "school": a large secondary school; "stress": ten times its counts, the
// same week of slots.
SchoolSize schoolSize();
SchoolSize stressSize();
// The size of a name ("school" or "stress"); raises for any other.
SchoolSize sizeNamed(std::string_view name);

// The same size and seed always give the same school.
School generateSchool(const SchoolSize& size, std::uint32_t seed);

}  // namespace mirvane::schoolgen
