%{
// Grammar of map files: an optional declaration and document type, then one element with
// attributes, nested elements, text and CDATA sections. There is no error recovery: the first
// syntax error ends the parse.
#include <cstring>
#include <string_view>
#include <utility>

#include "ParseState.h"
#include "MapGrammar.h"
#include "MapScanner.h"

using zandrel::mapfile::ParseState;
using zandrel::mapfile::ParseStatus;

// Room for 200 states at first, doubling up to 10000; deeper nesting ends the parse.
#define YYINITDEPTH (zandrel::mapfile::kInitialParseDepth)
#define YYMAXDEPTH (zandrel::mapfile::kMaxParseDepth)
// How deep the stack is once the rule being reduced has been replaced by its left side: what the
// scanner needs to know to keep attribute tokens from changing where the stack overflows.
#define DEPTH_AFTER_REDUCTION (static_cast<int>(yyssp - yyss) + 2 - yylen)
#define YYMALLOC(size) state.StackAlloc(size)
#define YYFREE(block) state.StackFree(block)

static void yyerror(yyscan_t, ParseState& state, const char* message);
%}

%code requires {
#include <cstddef>
#include <string_view>
namespace zandrel::mapfile {
struct MarkupElement;
class AttributeTable;
struct ParseState;
}
#ifndef YY_TYPEDEF_YY_SCANNER_T
#define YY_TYPEDEF_YY_SCANNER_T
typedef void* yyscan_t;
#endif
// A token's characters: a view into the parse's input buffer (ParseState::TokenText), kept as
// plain data because the parser holds it in a union.
struct ZdmText {
    const char* data;
    std::size_t size;
    std::string_view view() const { return {data, size}; }
};
struct ZdmAttribute {
    ZdmText name;
    ZdmText value;
};
}

%define api.pure full
%define parse.error simple
%lex-param {yyscan_t scanner}
%parse-param {yyscan_t scanner} {zandrel::mapfile::ParseState& state}

%union {
    ZdmText text;
    zandrel::mapfile::MarkupElement* element;
    zandrel::mapfile::AttributeTable* attributes;
    ZdmAttribute attribute;
}

%token LT GT SLASH EQ QUOTE QMARK BANG CDATA_BEGIN CDATA_END
%token <text> NAME TEXT CDATA_TEXT
%token <attribute> ATTRIBUTE
%type <element> element content
%type <attributes> attributes
%type <attribute> attribute
%type <text> textpart

/* The declaration and document type are matched together with what follows them, and text
   parts go straight into their element's text: the same language and results as separate
   prolog and text rules, without the conflicts those would bring. */
%expect 0

%%

document
    : xmldecl doctype element   { state.root = $3; }
    | xmldecl element           { state.root = $2; }
    | element                   { state.root = $1; }
    ;

xmldecl
    : LT QMARK NAME NAME EQ QUOTE TEXT QUOTE QMARK GT
    ;

doctype
    : LT BANG NAME NAME NAME QUOTE TEXT QUOTE GT
    ;

element
    : LT NAME attributes SLASH GT {
          $$ = state.NewElement();
          $$->name = $2.view();
          $$->attributes = std::move(*$3);
      }
    | LT NAME attributes GT content LT SLASH NAME GT {
          if ($2.view() != $8.view()) {
              state.status = ParseStatus::NameMismatch;
              YYABORT;
          }
          $$ = $5;
          $$->name = $2.view();
          $$->attributes = std::move(*$3);
      }
    ;

content
    : %empty            { $$ = state.NewElement(); }
    | content element   { $$ = $1; $$->children.push_back(std::move(*$2)); }
    | content textpart  { $$ = $1; $$->text += $2.view(); }
    ;

textpart
    : TEXT                              { $$ = $1; }
    | CDATA_BEGIN CDATA_TEXT CDATA_END  { $$ = $2; }
    ;

attributes
    : %empty {
          $$ = state.NewTable();
          state.attributesDepth = DEPTH_AFTER_REDUCTION;
      }
    | attributes attribute {
          $$ = $1;
          $$->Set($2.name.view(), $2.value.view());
          state.attributesDepth = DEPTH_AFTER_REDUCTION;
      }
    | attributes ATTRIBUTE {
          $$ = $1;
          $$->Set($2.name.view(), $2.value.view());
          state.attributesDepth = DEPTH_AFTER_REDUCTION;
      }
    ;

attribute
    : NAME                          { $$.name = $1; $$.value = ZdmText{"", 0}; }
    | NAME EQ QUOTE QUOTE           { $$.name = $1; $$.value = ZdmText{"", 0}; }
    | NAME EQ QUOTE TEXT QUOTE      { $$.name = $1; $$.value = $4; }
    ;

%%

static void yyerror(yyscan_t, ParseState& state, const char* message) {
    if (state.readFailed) {
        state.Report(ParseStatus::ReadError, "read error");
    } else if (state.stackAllocFailed) {
        state.Report(ParseStatus::OutOfMemory, "out of memory");
    } else if (std::strcmp(message, "memory exhausted") == 0) {
        state.Report(ParseStatus::StackOverflow, "parser stack overflow");
    } else {
        state.Report(ParseStatus::SyntaxError, "parse error");
    }
}
