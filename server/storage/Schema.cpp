#include "storage/Schema.h"

#include <string>

namespace journal::storage {
namespace {

// Dates are ISO texts ("YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS"), which sort chronologically; creation and change
// times are UTC, repair times the plant's wall time. {ID} is the engine's auto-increment key.
constexpr std::string_view tablesV1 = R"(
CREATE TABLE workshop (
    id {ID},
    title TEXT NOT NULL,
    description TEXT NOT NULL,
    at_construct TEXT NOT NULL,
    at_create TEXT NOT NULL,
    at_update TEXT NOT NULL);
CREATE TABLE machine (
    id {ID},
    title TEXT NOT NULL,
    description TEXT NOT NULL,
    inventory TEXT NOT NULL,
    workshop_id BIGINT NOT NULL REFERENCES workshop (id),
    at_create TEXT NOT NULL,
    at_update TEXT NOT NULL);
CREATE INDEX machine_workshop ON machine (workshop_id);
CREATE TABLE repairman (
    id {ID},
    surname TEXT NOT NULL,
    name TEXT NOT NULL,
    patronymic TEXT NOT NULL,
    profession TEXT NOT NULL,
    at_create TEXT NOT NULL,
    at_update TEXT NOT NULL);
CREATE TABLE service (
    id {ID},
    machine_id BIGINT NOT NULL REFERENCES machine (id),
    description TEXT NOT NULL,
    start_at TEXT NOT NULL,
    finish_at TEXT);
CREATE INDEX service_machine ON service (machine_id);
CREATE TABLE service_repairman (
    service_id BIGINT NOT NULL REFERENCES service (id) ON DELETE CASCADE,
    repairman_id BIGINT NOT NULL REFERENCES repairman (id),
    position INTEGER NOT NULL,
    PRIMARY KEY (service_id, repairman_id));
CREATE INDEX service_repairman_repairman ON service_repairman (repairman_id);
)";

// SQLite gets the collations and fold() from the connection; PostgreSQL keeps them in the schema.
constexpr std::string_view postgresTextV1 = R"(
CREATE COLLATION ru_text (provider = icu, locale = 'ru-RU-u-ks-level2');
CREATE COLLATION ru_natural (provider = icu, locale = 'ru-RU-u-kn-ks-level2');
CREATE FUNCTION fold(value TEXT) RETURNS TEXT LANGUAGE sql IMMUTABLE PARALLEL SAFE
    AS $$ SELECT lower(value COLLATE "und-x-icu") $$;
)";

// The crews in the order they are listed, read from the index alone: the journal reads every crew at once.
constexpr std::string_view crewOrderV2 =
    "CREATE INDEX service_repairman_order ON service_repairman (service_id, position, repairman_id);";

// A token that every change of what the journal shows sets anew, so that a journal written once can be sent again
// while its token stands. Triggers set it, whoever changes the tables; writers queue on one lock, so it is no
// point of conflict.
constexpr std::string_view journalTables[] = {"workshop", "machine", "repairman", "service", "service_repairman"};

std::string journalStateV3(SqlDialect dialect) {
    std::string script = "CREATE TABLE journal_state (token TEXT NOT NULL);";
    if (dialect == SqlDialect::Sqlite) {
        constexpr std::string_view newToken = "hex(randomblob(16))";
        script += "INSERT INTO journal_state (token) VALUES (" + std::string(newToken) + ");";
        for (const std::string_view table : journalTables) {
            for (const std::string_view event : {"INSERT", "UPDATE", "DELETE"}) {
                script += "CREATE TRIGGER " + std::string(table) + "_" + std::string(event) + "_changes_state AFTER " +
                          std::string(event) + " ON " + std::string(table) +
                          " BEGIN UPDATE journal_state SET token = " + std::string(newToken) + "; END;";
            }
        }
        return script;
    }
    script += R"(
INSERT INTO journal_state (token) VALUES (gen_random_uuid()::text);
CREATE FUNCTION journal_state_changed() RETURNS trigger LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
BEGIN
    UPDATE journal_state SET token = gen_random_uuid()::text;
    RETURN NULL;
END $$;
)";
    for (const std::string_view table : journalTables) {
        script += "CREATE TRIGGER " + std::string(table) +
                  "_changes_state AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON " + std::string(table) +
                  " FOR EACH STATEMENT EXECUTE FUNCTION journal_state_changed();";
    }
    return script;
}

// A log of the records each change touched, so that a journal kept from an earlier state is brought up to date by
// reading only those again. Every change takes a step from the token it found; the records it touched are listed under
// the step. Steps of a server's own writers follow the order of their commits, because each takes the token's row lock
// first. The log keeps the latest steps only: a state older than its first is read afresh. A TRUNCATE touches all.
struct LoggedTable {
    std::string_view name;
    std::string_view key;      // the column that names what the row is
    std::string_view affected; // the records touched by rows {rows}, each row as r, listed under step {step}
};

constexpr LoggedTable loggedTables[] = {
    {"workshop", "id",
     "SELECT {step}, s.id FROM service s JOIN machine m ON m.id = s.machine_id JOIN {rows} r ON m.workshop_id = r.id"},
    {"machine", "id", "SELECT {step}, s.id FROM service s JOIN {rows} r ON s.machine_id = r.id"},
    {"repairman", "id", "SELECT {step}, c.service_id FROM service_repairman c JOIN {rows} r ON c.repairman_id = r.id"},
    {"service", "id", "SELECT {step}, r.id FROM {rows} r"},
    {"service_repairman", "service_id", "SELECT {step}, r.service_id FROM {rows} r"},
};

constexpr long long loggedSteps = 4096;

std::string replaced(std::string text, std::string_view what, std::string_view with) {
    for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += with.size())
        text.replace(at, what.size(), with);
    return text;
}

std::string affectedRows(const LoggedTable& table, std::string_view step, std::string_view rows) {
    return "INSERT INTO journal_changed (seq, service_id) " +
           replaced(replaced(std::string(table.affected), "{step}", step), "{rows}", rows) + ";";
}

std::string journalLogV4(SqlDialect dialect) {
    const std::string keep = std::to_string(loggedSteps);
    std::string script = dialect == SqlDialect::Sqlite
                             ? "CREATE TABLE journal_step (seq INTEGER PRIMARY KEY AUTOINCREMENT,"
                             : "CREATE TABLE journal_step (seq BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,";
    script += R"( previous TEXT NOT NULL, whole INTEGER NOT NULL DEFAULT 0);
CREATE INDEX journal_step_previous ON journal_step (previous);
CREATE TABLE journal_changed (seq BIGINT NOT NULL, service_id BIGINT NOT NULL);
CREATE INDEX journal_changed_seq ON journal_changed (seq);
)";
    if (dialect == SqlDialect::Sqlite) {
        script += "CREATE TRIGGER journal_step_prune AFTER INSERT ON journal_step WHEN NEW.seq % 256 = 0 BEGIN"
                  " DELETE FROM journal_changed WHERE seq <= NEW.seq - " +
                  keep + "; DELETE FROM journal_step WHERE seq <= NEW.seq - " + keep + "; END;";
        constexpr std::string_view step = "(SELECT MAX(seq) FROM journal_step)";
        for (const LoggedTable& table : loggedTables) {
            for (const std::string_view event : {"INSERT", "UPDATE", "DELETE"}) {
                const std::string name(table.name);
                script += "DROP TRIGGER " + name + "_" + std::string(event) + "_changes_state;";
                script += "CREATE TRIGGER " + name + "_" + std::string(event) + "_logs_change AFTER " +
                          std::string(event) + " ON " + name +
                          " BEGIN INSERT INTO journal_step (previous) SELECT token FROM journal_state;";
                for (const std::string_view row : {"OLD", "NEW"}) {
                    if ((row == "OLD" && event == "INSERT") || (row == "NEW" && event == "DELETE"))
                        continue;
                    const std::string key(table.key);
                    script += affectedRows(table, step, "(SELECT " + std::string(row) + "." + key + " AS " + key + ")");
                }
                script += " UPDATE journal_state SET token = hex(randomblob(16)); END;";
            }
        }
        return script;
    }
    script += R"(
CREATE FUNCTION journal_step_taken(touches_all BOOLEAN) RETURNS BIGINT LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    taken BIGINT;
BEGIN
    PERFORM 1 FROM journal_state FOR UPDATE;
    INSERT INTO journal_step (previous, whole) SELECT token, touches_all::integer FROM journal_state RETURNING seq INTO taken;
    UPDATE journal_state SET token = gen_random_uuid()::text;
    IF taken % 256 = 0 THEN
        DELETE FROM journal_changed WHERE seq <= taken - {KEEP};
        DELETE FROM journal_step WHERE seq <= taken - {KEEP};
    END IF;
    RETURN taken;
END $$;
DROP FUNCTION journal_state_changed() CASCADE;
)";
    script = replaced(script, "{KEEP}", keep);
    for (const LoggedTable& table : loggedTables) {
        const std::string name(table.name);
        script += "CREATE FUNCTION " + name +
                  "_logs_change() RETURNS trigger LANGUAGE plpgsql SET search_path FROM CURRENT AS $$"
                  " DECLARE step BIGINT; BEGIN step := journal_step_taken(TG_OP = 'TRUNCATE');"
                  " IF step IS NOT NULL AND TG_OP IN ('UPDATE', 'DELETE') THEN " +
                  affectedRows(table, "step", "old_rows") +
                  " END IF; IF step IS NOT NULL AND TG_OP IN ('UPDATE', 'INSERT') THEN " +
                  affectedRows(table, "step", "new_rows") + " END IF; RETURN NULL; END $$;";
        const std::string function = " FOR EACH STATEMENT EXECUTE FUNCTION " + name + "_logs_change();";
        script += "CREATE TRIGGER " + name + "_insert_logs_change AFTER INSERT ON " + name +
                  " REFERENCING NEW TABLE AS new_rows" + function;
        script += "CREATE TRIGGER " + name + "_update_logs_change AFTER UPDATE ON " + name +
                  " REFERENCING OLD TABLE AS old_rows NEW TABLE AS new_rows" + function;
        script += "CREATE TRIGGER " + name + "_delete_logs_change AFTER DELETE ON " + name +
                  " REFERENCING OLD TABLE AS old_rows" + function;
        script += "CREATE TRIGGER " + name + "_truncate_logs_change AFTER TRUNCATE ON " + name + function;
    }
    return script;
}

std::string withIdColumn(std::string_view script, std::string_view idColumn) {
    return replaced(std::string(script), "{ID}", idColumn);
}

std::string migrationScript(int version, SqlDialect dialect) {
    switch (version) {
    case 1:
        if (dialect == SqlDialect::Sqlite)
            return withIdColumn(tablesV1, "INTEGER PRIMARY KEY AUTOINCREMENT");
        return std::string(postgresTextV1) +
               withIdColumn(tablesV1, "BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
    case 2:
        return std::string(crewOrderV2);
    case 3:
        return journalStateV3(dialect);
    case 4:
        return journalLogV4(dialect);
    }
    return {};
}

constexpr int latestVersion = 4;

} // namespace

int latestSchemaVersion() {
    return latestVersion;
}

void migrateSchema(SqlConnection& sql) {
    sql.execute("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
    sql.begin(true);
    try {
        // Several servers may start on one PostgreSQL database at once: one migrates, the others wait.
        if (sql.dialect() == SqlDialect::Postgres)
            sql.execute("LOCK TABLE schema_version IN EXCLUSIVE MODE");
        const auto rows = sql.query("SELECT COALESCE(MAX(version), 0) FROM schema_version", {});
        const int current = std::stoi(rows.at(0).at(0).value_or("0"));
        if (current > latestVersion)
            throw StorageError("the database was made by a newer server (schema version " + std::to_string(current) +
                               ")");
        for (int version = current + 1; version <= latestVersion; ++version) {
            sql.execute(migrationScript(version, sql.dialect()));
            sql.query("INSERT INTO schema_version (version) VALUES (?)", {std::to_string(version)});
        }
        sql.commit();
    } catch (...) {
        sql.rollback();
        throw;
    }
}

} // namespace journal::storage
