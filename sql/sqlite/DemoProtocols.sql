-- Sample protocols and enrolments for the demonstration farm, run after ProSetup.Cmd.
-- It uses solar_today() and solar_add_days(), which the tool registers on its SQLite
-- connection, and the demonstration herd's cows and comment lists.
--
-- Ovsynch: GnRH, prostaglandin a week later, GnRH two days after that, timed insemination
-- the next day, and the pregnancy scan about a month after the insemination.
INSERT INTO P_ProtocolDesign (ProName, PLevel, PDays, PAct) VALUES
    ('اوسينك', 1, 0, 'تزريق GnRH'),
    ('اوسينك', 2, 7, 'تزريق پروستاگلاندين'),
    ('اوسينك', 3, 9, 'تزريق GnRH'),
    ('اوسينك', 4, 10, 'تلقيح'),
    ('اوسينك', 5, 42, 'سونوگرافي آبستني'),
    ('اوسينك', 6, 45, 'خاتمه')
GO
-- Presynch-Ovsynch: two prostaglandin injections fourteen days apart, then Ovsynch twelve
-- days after the second one.
INSERT INTO P_ProtocolDesign (ProName, PLevel, PDays, PAct) VALUES
    ('پري سينك اوسينك', 1, 0, 'تزريق پروستاگلاندين'),
    ('پري سينك اوسينك', 2, 14, 'تزريق پروستاگلاندين'),
    ('پري سينك اوسينك', 3, 26, 'تزريق GnRH'),
    ('پري سينك اوسينك', 4, 33, 'تزريق پروستاگلاندين'),
    ('پري سينك اوسينك', 5, 35, 'تزريق GnRH'),
    ('پري سينك اوسينك', 6, 36, 'تلقيح'),
    ('پري سينك اوسينك', 7, 68, 'سونوگرافي آبستني'),
    ('پري سينك اوسينك', 8, 70, 'خاتمه')
GO
-- Metritis after calving: three days of ceftiofur with the temperature taken, and a check
-- of the uterus on the fifth day.
INSERT INTO P_ProtocolDesign (ProName, PLevel, PDays, PAct) VALUES
    ('درمان متريت', 1, 0, 'تب سنجي و تزريق سفتيوفور'),
    ('درمان متريت', 2, 1, 'تزريق سفتيوفور'),
    ('درمان متريت', 3, 2, 'تزريق سفتيوفور'),
    ('درمان متريت', 4, 5, 'معاينه رحم و تب سنجي'),
    ('درمان متريت', 5, 7, 'خاتمه')
GO
-- Open enrolments. Cows are picked by their days since calving so that no cow gets two:
-- fresh cows with metritis, cows of 3 to 8 weeks in Presynch, later open cows in Ovsynch.
-- Each plan row gives the protocol, the band of days since calving (no upper end: NULL), how
-- many cows it takes and over how many levels they are spread. K numbers a plan's cows; it
-- spreads them over the levels and over the last few days. Cows past the first level were
-- advanced (NextLvlDays holds the next level's day), cows at the first level were just entered
-- (it holds the entry level's day).
INSERT INTO P_Work (ProName, Serial, PCurLevel, PInDate, PDoc, StartCurActDate, PLastAct, PNextAct, NextLvlDays, POutDate, POutResone)
SELECT d.ProName, c.Serial, d.PLevel,
    solar_add_days(solar_today(), -(d.PDays + c.K % 3)),
    COALESCE(v.Comment, ''),
    solar_add_days(solar_today(), -(c.K % 3)),
    d.PAct,
    COALESCE(n.PAct, ''),
    CASE WHEN d.PLevel = 1 THEN CAST(d.PDays AS TEXT) ELSE COALESCE(CAST(n.PDays AS TEXT), '') END,
    '', ''
FROM (SELECT p.ProName, p.Levels, s.Serial,
             ROW_NUMBER() OVER (PARTITION BY p.ProName ORDER BY s.Serial) AS K, p.Cows, p.Seq
      FROM (SELECT column1 AS ProName, column2 AS DisFrom, column3 AS DisTo, column4 AS Cows, column5 AS Levels, column6 AS Seq
            FROM (VALUES ('درمان متريت', 3, 20, 6, 4, 1), ('پري سينك اوسينك', 21, 60, 12, 7, 2), ('اوسينك', 61, NULL, 14, 5, 3))) p
          INNER JOIN cowStatusView s ON s.DisZ >= p.DisFrom AND (p.DisTo IS NULL OR s.DisZ <= p.DisTo)
      WHERE s.Existcode < 2 AND s.Sex LIKE '%ماده%' AND s.MilkPeriod > 0 AND s.LastBriding <> 'آبستن') c
    INNER JOIN P_ProtocolDesign d ON d.ProName = c.ProName AND d.PLevel = 1 + c.K % c.Levels
    LEFT OUTER JOIN P_ProtocolDesign n ON n.ProName = d.ProName AND n.PLevel = d.PLevel + 1
    LEFT OUTER JOIN (SELECT Comment, ROW_NUMBER() OVER (ORDER BY rowid) - 1 AS I, COUNT(*) OVER () AS N
                     FROM FrComments WHERE GroupSec = 'دكتر' AND IsActive = 1) v ON v.I = c.K % v.N
WHERE c.K <= c.Cows
ORDER BY c.Seq, c.K
GO
-- Closed enrolments: pregnant cows whose Ovsynch insemination held, taken out at the end with
-- the first reason of the list; the protocol started ten days before that insemination.
INSERT INTO P_Work (ProName, Serial, PCurLevel, PInDate, PDoc, StartCurActDate, PLastAct, PNextAct, NextLvlDays, POutDate, POutResone)
SELECT d.ProName, c.Serial, d.PLevel,
    solar_add_days(c.DateTalghih, -10),
    COALESCE(v.Comment, ''),
    solar_add_days(c.DateTalghih, d.PDays - 10),
    d.PAct, '', '',
    solar_add_days(c.DateTalghih, d.PDays - 10),
    COALESCE((SELECT Comment FROM FrComments WHERE GroupSec = 'علت خروج پروتكل' AND IsActive = 1 ORDER BY rowid LIMIT 1), '')
FROM (SELECT Serial, DateTalghih, ROW_NUMBER() OVER (ORDER BY Serial) AS K
      FROM cowStatusView
      WHERE Existcode < 2 AND MilkPeriod > 0 AND LastBriding = 'آبستن' AND DisLT >= 40
      ORDER BY Serial LIMIT 8) c
    INNER JOIN P_ProtocolDesign d ON d.ProName = 'اوسينك' AND d.PLevel = 6
    LEFT OUTER JOIN (SELECT Comment, ROW_NUMBER() OVER (ORDER BY rowid) - 1 AS I, COUNT(*) OVER () AS N
                     FROM FrComments WHERE GroupSec = 'دكتر' AND IsActive = 1) v ON v.I = c.K % v.N
GO
-- Cows that left the herd while on the metritis treatment, taken out at the second level with
-- the list's fourth reason.
INSERT INTO P_Work (ProName, Serial, PCurLevel, PInDate, PDoc, StartCurActDate, PLastAct, PNextAct, NextLvlDays, POutDate, POutResone)
SELECT d.ProName, c.Serial, d.PLevel,
    solar_add_days(solar_today(), -(30 + 9 * c.K)),
    COALESCE(v.Comment, ''),
    solar_add_days(solar_today(), -(29 + 9 * c.K)),
    d.PAct, n.PAct, CAST(n.PDays AS TEXT),
    solar_add_days(solar_today(), -(29 + 9 * c.K)),
    COALESCE((SELECT Comment FROM FrComments WHERE GroupSec = 'علت خروج پروتكل' AND IsActive = 1 ORDER BY rowid LIMIT 1 OFFSET 3), '')
FROM (SELECT Serial, ROW_NUMBER() OVER (ORDER BY Serial) AS K
      FROM cowStatusView
      WHERE Existcode >= 2 AND Sex LIKE '%ماده%' AND MilkPeriod > 0
      ORDER BY Serial LIMIT 4) c
    INNER JOIN P_ProtocolDesign d ON d.ProName = 'درمان متريت' AND d.PLevel = 2
    INNER JOIN P_ProtocolDesign n ON n.ProName = d.ProName AND n.PLevel = 3
    LEFT OUTER JOIN (SELECT Comment, ROW_NUMBER() OVER (ORDER BY rowid) - 1 AS I, COUNT(*) OVER () AS N
                     FROM FrComments WHERE GroupSec = 'دكتر' AND IsActive = 1) v ON v.I = c.K % v.N
GO
-- Due dates and days in treatment as the tool computes them after every change.
UPDATE P_Work SET
    NextLvlDate = COALESCE(solar_add_days(StartCurActDate,
        (SELECT n.PDays FROM P_ProtocolDesign n WHERE n.ProName = P_Work.ProName AND n.PLevel = P_Work.PCurLevel + 1)
        - (SELECT c.PDays FROM P_ProtocolDesign c WHERE c.ProName = P_Work.ProName AND c.PLevel = P_Work.PCurLevel)), ''),
    DisIn = solar_days_between(PInDate, CASE WHEN POutDate IS NULL OR trim(POutDate) = '' THEN solar_today() ELSE POutDate END)
GO
