-- The invoice records the CSV tests read (loaded from tests/data/csv/invoices.csv), values of
-- every type a merge meets, and a long run of rows.
CREATE TABLE 請求 (請求書番号 text, 顧客名 text, 品名 text, 金額 text);
CREATE TABLE 型 (番号 integer, 金額 numeric(14, 2), 大きな数 bigint, 日付 date,
                 日時 timestamp, 済 boolean, 画像 bytea, 空 text);
INSERT INTO 型 VALUES (1, 12345678901.25, 9007199254740993, '2026-12-01', '2026-12-01 09:30:05',
                       true, '\x00ff', NULL);
CREATE VIEW 連番 AS SELECT n, '品目 ' || n AS 品名 FROM generate_series(1, 3000) AS n;
