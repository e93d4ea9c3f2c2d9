#pragma once

#include <QString>
#include <span>

// What the program knows of a stamp's fields and of the nine code tables, kept once: the
// schema, its check, the main window, the record check, the generator, the reports and the
// help read these tables rather than lists of their own.
namespace perlinex::db {

enum class FieldKind {
    Counter,   // assigned by the store when a row is started
    Text,      // at most `size` characters as typed
    LongText,  // no limit
    Boolean,   // a check box
    Integer16, // a whole number that fits 16 bits
    Integer32, // a whole number that fits 32 bits
    Money,     // the fixed-point currency
    Date,      // a day, no time
    CodeRef,   // the identifier of an entry of a code table
};

// Where the main window shows a field.
enum class FieldPlace { None, AboveTabs, General, Prices, Notes };

// How a typed value is checked when the user leaves its field and before a store.
enum class EntryRule {
    Plain,    // taken as typed
    Number,   // a number or blank (spaces alone are blank); never reformatted
    Quantity, // must be a number; recomputes the totals
    Price,    // money or exactly empty; reformatted as currency; recomputes its total
    Total,    // computed from the quantity and its price; never typed
    Date,     // a date or blank
    Derived,  // computed when stored, never shown (the catalogue sort key)
};

struct StampField {
    const char* name; // column of table stamp, as the schema writes it
    FieldKind kind;
    int size;            // text: the most characters the editor takes; 0 for no limit
    const char* caption; // the label of its control (untranslated)
    const char* control; // the control's name in the main window; nullptr when never shown
    FieldPlace place;
    EntryRule rule;
    int codeTable;            // CodeRef: the code table's number (1..9); otherwise 0
    const char* priceField;   // Total: the unit price it multiplies; otherwise nullptr
    const char* leaveMessage; // Number and Date: the message for a text that is not one
    bool required = false;    // never null: stored empty rather than missing
};

// The fields of table stamp in the order the editor shows and stores them.
std::span<const StampField> stampFields();
// The field of that name, found without regard to case; nullptr when there is none.
const StampField* stampField(const QString& name);
// Its position in stampFields(), or -1.
int stampFieldIndex(const QString& name);
// The total that multiplies this price, or nullptr.
const StampField* totalOfPrice(const QString& priceField);

// The fields the collection list shows, in its column order.
std::span<const StampField* const> listedFields();

// One code table; the number is its place in the Maintain menu.
struct CodeTable {
    int number;
    const char* table;
    const char* idField;
    const char* descField;
    const char* vocabulary;    // starter list under data/vocabulary
    const char* menuCaption;   // "&Countries"
    const char* windowCaption; // "Maintain Countries"
    const char* label;         // "Country Description"
    int helpTopic;             // the help context number of its window
    const char* helpPage;      // the help page of that context
    const char* findNoun;      // "country"
    const char* deleteQuestion;
    const char* deleteTitle;
    const char* inUseMessage;
};

// The nine code tables in menu order: index 0 is table 1 ("C&ancellations").
std::span<const CodeTable> codeTables();
// By number 1..9; nullptr for any other.
const CodeTable* codeTable(int number);
// By table name without regard to case; nullptr when there is none.
const CodeTable* codeTableByName(const QString& table);
// The stamp field that refers to the table.
const StampField& referenceField(const CodeTable& table);

// The query of a table's entries in description order, "Select * from country order by
// Coudesc".
QString codeListQuery(const CodeTable& table);
// The query of the stamps that use an entry, without the entry's id: "Select StampID from
// Stamp where CouID = ".
QString inUseQuery(const CodeTable& table);

// Translates one of the texts above for the user.
QString fieldText(const char* text);

} // namespace perlinex::db
