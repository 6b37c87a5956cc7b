-- The presets a new user starts with. Rows are ordered by last_used, newest
-- first, and the newest is the one active on a first launch.
CREATE TABLE embossers (
    text TEXT NOT NULL,
    font_name TEXT NOT NULL,
    width_ratio REAL NOT NULL,
    opacity REAL NOT NULL,
    text_angle REAL NOT NULL,
    layout_type INTEGER NOT NULL,
    margin_horizontal REAL NOT NULL,
    margin_vertical REAL NOT NULL,
    last_used TEXT NOT NULL
);

INSERT INTO embossers (text, font_name, width_ratio, opacity, text_angle, layout_type,
                       margin_horizontal, margin_vertical, last_used) VALUES
    ('© lumigrave.app', 'DejaVuSans-Bold', 0.8, 0.6, 0, 0, 0, 0, '2026-12-01 12:00:05'),
    ('lumigrave.app', 'DejaVuSans-Bold', 0.3, 0.7, 0, 4, 0.03, 0.04, '2026-12-01 12:00:04'),
    ('© lumigrave', 'DejaVuSans-Bold', 0.25, 0.5, 30, 5, 0.05, 0.08, '2026-12-01 12:00:03'),
    ('PROOF', 'DejaVuSans-Bold', 0.2, 0.45, 330, 6, 0.04, 0.06, '2026-12-01 12:00:02'),
    ('© lumigrave.app', 'DejaVuSans-Bold', 0.35, 0.65, 15, 1, 0.04, 0.05, '2026-12-01 12:00:01');
